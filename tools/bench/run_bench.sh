#!/bin/bash
# Benchmark of whole SDTS conversions (not a test): every real transfer (the largest first)
# and synthetic grids of about 250,000, 500,000 and 1,000,000 lines, each converted by this project
# (bench_convert, one process per conversion) and by `ogr2ogr -f "ESRI Shapefile"` from the
# same catalog, taking turns run by run. Reports the median wall time (taken around the
# process with the shell's microsecond clock: /usr/bin/time counts in hundredths, too
# coarse for the small transfers),
# median CPU time (user + system of the children, from the shell's `times`, in milliseconds)
# and the largest peak resident memory of each, from /usr/bin/time -v.
#
# Run it on a quiet machine, and not just after something deleted thousands of files (a test
# run, an earlier run of this script, which deletes its outputs when it ends): see run_once.
#
# Usage: tools/bench/run_bench.sh <build dir> [runs on real data, default 5] [runs on grids, default 3]
# The build dir must hold bin/bench_convert and bin/make_grid_transfer (normal build).
set -euo pipefail
run_number=0

build=$(cd "$1" && pwd)
real_runs=${2:-5}
grid_runs=${3:-3}
here=$(cd "$(dirname "$0")" && pwd)
data=$(cd "$here/../../../shared/data/sdts" 2>/dev/null && pwd || true)
work=$(mktemp -d "${TMPDIR:-/tmp}/corvane-bench.XXXXXX")
trap 'rm -rf "$work"' EXIT

# CPU seconds (user + system) used so far by this shell's finished children. `times` must run
# in this shell itself, not in a command substitution's subshell, so it goes through a file.
children_cpu() {
  times >"$work/times.txt"
  sed -n 2p "$work/times.txt" | awk '{n = 0; for (k = 1; k <= 2; k++) {split($k, p, "m"); n += p[1] * 60 + p[2]} print n}'
}

# Runs one conversion ("$@", where the word OUT stands for a fresh output directory) and
# appends "wall cpu peak" to the file $1. Every run writes into a directory of its own, and
# the outputs of the real transfers stay until the end: on ext4 without a journal (as here), each
# file created walks past every inode freed in the last half minute or so, so deleting runs
# between runs made every later file cost more, a cost neither converter causes and one
# that weighs most on the one with the shorter run. (The grids' outputs, gigabytes, go
# after each grid.)
run_once() {
  local results=$1
  shift
  local out="$work/runs/$((++run_number))"
  mkdir -p "$work/runs"
  local args=("${@/#OUT/$out}")
  [[ "$1" == "$build/bin/bench_convert" ]] && mkdir -p "$out"
  local cpu_before start end cpu_after rss
  children_cpu >"$work/cpu.txt"
  cpu_before=$(<"$work/cpu.txt")
  start=$EPOCHREALTIME
  /usr/bin/time -v -o "$work/time.txt" "${args[@]}" >/dev/null 2>&1 || { echo "failed: ${args[*]}" >&2; return 1; }
  end=$EPOCHREALTIME
  children_cpu >"$work/cpu.txt"
  cpu_after=$(<"$work/cpu.txt")
  rss=$(awk -F': ' '/Maximum resident set size/ {print $2}' "$work/time.txt")
  echo "$(echo "$end - $start" | bc -l) $(echo "$cpu_after - $cpu_before" | bc -l) $rss" >>"$results"
}

# "median wall s, median cpu s, peak KiB" of the runs in file $1.
summary() {
  local mw mc peak
  mw=$(awk '{print $1}' "$1" | sort -g | awk '{a[NR] = $1} END {print a[int((NR + 1) / 2)]}')
  mc=$(awk '{print $2}' "$1" | sort -g | awk '{a[NR] = $1} END {print a[int((NR + 1) / 2)]}')
  peak=$(awk '$3 > p {p = $3} END {print p + 0}' "$1")
  echo "$mw $mc $peak"
}

report() {  # label, ours (wall cpu rss), ogr2ogr (wall cpu rss)
  read -r ow oc orss <<<"$2"
  read -r gw gc grss <<<"$3"
  printf '%-34s ours %8.3f s wall %6.3f s cpu %8d KiB | ogr2ogr %8.3f s wall %6.3f s cpu %8d KiB | wall x%.1f cpu x%.1f\n' \
    "$1" "$ow" "$oc" "$orss" "$gw" "$gc" "$grss" "$(echo "$gw / $ow" | bc -l)" "$(echo "$gc / $oc" | bc -l)"
}

echo "machine: $(nproc) cores, load $(cut -d' ' -f1-3 /proc/loadavg)"
if [[ -n "$data" ]]; then
  # Largest first: the most bytes of module files.
  for transfer in $(for d in "$data"/*/; do echo "$(du -sb "$d" | cut -f1) $d"; done | sort -rn | cut -d' ' -f2); do
    catalog=$(ls "$transfer"*CATD.DDF)
    # The two converters take turns, so both see the machine in the same state.
    rm -f "$work/ours.txt" "$work/theirs.txt"
    for ((i = 0; i < real_runs; i++)); do
      run_once "$work/ours.txt" "$build/bin/bench_convert" "$catalog" OUT
      run_once "$work/theirs.txt" ogr2ogr -f "ESRI Shapefile" OUT "$catalog"
    done
    ours=$(summary "$work/ours.txt")
    theirs=$(summary "$work/theirs.txt")
    report "$(basename "$transfer") (median of $real_runs)" "$ours" "$theirs"
  done
fi

for size in "250 500" "354 706" "500 999"; do
  read -r rows cols <<<"$size"
  rm -rf "$work/grid"
  lines=$("$build/bin/make_grid_transfer" "$work/grid" "$rows" "$cols" | sed -n 2p | cut -d' ' -f1)
  catalog="$work/grid/GR01CATD.DDF"
  rm -f "$work/ours.txt" "$work/theirs.txt"
  for ((i = 0; i < grid_runs; i++)); do run_once "$work/ours.txt" "$build/bin/bench_convert" "$catalog" OUT; done
  run_once "$work/theirs.txt" ogr2ogr -f "ESRI Shapefile" OUT "$catalog"
  rm -rf "$work/runs"
  ours=$(summary "$work/ours.txt")
  theirs=$(summary "$work/theirs.txt")
  report "grid of $lines lines (ours: median of $grid_runs)" "$ours" "$theirs"
done
