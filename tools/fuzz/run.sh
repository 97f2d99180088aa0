#!/usr/bin/env bash
# Builds the fuzz targets with clang (fuzz.cmake) in build-fuzz/ (FUZZ_BUILD_DIR overrides),
# writes their seed corpora and fuzzes each TARGET for SECONDS (default 600), two at a time:
#
#   tools/fuzz/run.sh [SECONDS [TARGET...]]      targets: sdts_fuzz dlgopt_fuzz archive_fuzz
#                                                iso8211_fuzz (default: all four)
#
# Each target's corpus grows in build-fuzz/fuzz-corpus/TARGET, its output is
# build-fuzz/fuzz-logs/TARGET.log and a crashing, leaking, hanging or memory-hungry input is
# saved in build-fuzz/fuzz-artifacts/TARGET/; any of them fails the run, naming the input.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=${FUZZ_BUILD_DIR:-$root/build-fuzz}
seconds=${1:-600}
targets=("${@:2}")
((${#targets[@]})) || targets=(sdts_fuzz dlgopt_fuzz archive_fuzz iso8211_fuzz)

cmake -C "$root/tools/fuzz/fuzz.cmake" -S "$root" -B "$build" -G Ninja >/dev/null
cmake --build "$build" -j "$(nproc)" --target "${targets[@]}" fuzz_seeds
rm -rf "$build/fuzz-seeds" "$build/fuzz-scratch" "$build/fuzz-logs"
mkdir -p "$build/fuzz-logs"
"$build/bin/fuzz_seeds" "$build/fuzz-seeds" "$root/../shared/data"

fuzz() {  # fuzz TARGET: runs it, then leaves its exit status beside its log
  local target=$1 status=0
  mkdir -p "$build/fuzz-corpus/$target" "$build/fuzz-artifacts/$target"
  # The outer limit only catches a fuzzer that stops answering; -timeout catches slow inputs.
  CORVANE_FUZZ_SCRATCH="$build/fuzz-scratch" timeout -k 10 $((seconds + 300)) \
    "$build/bin/$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
    -artifact_prefix="$build/fuzz-artifacts/$target/" \
    "$build/fuzz-corpus/$target" "$build/fuzz-seeds/$target" \
    </dev/null >"$build/fuzz-logs/$target.log" 2>&1 || status=$?
  echo "$status" >"$build/fuzz-logs/$target.status"
}

# The fuzzers are single-threaded: two at a time use both cores of a small machine.
for target in "${targets[@]}"; do
  while (($(jobs -rp | wc -l) >= 2)); do wait -n || true; done
  echo "Fuzzing $target for $seconds s"
  fuzz "$target" &
done
wait

failed=0
for target in "${targets[@]}"; do
  log=$build/fuzz-logs/$target.log
  # libFuzzer's last status line: "#RUNS ... cov: N ft: N corp: ... exec/s: N ..."
  stats=$(grep -E '^#[0-9]+' "$log" | tail -1 |
    sed -E 's/^#([0-9]+).*cov: ([0-9]+) ft: ([0-9]+).*exec\/s: ([0-9]+).*/\1 runs, cov \2, ft \3, \4 runs\/s/' || true)
  if [ "$(cat "$build/fuzz-logs/$target.status")" = 0 ]; then
    echo "$target: ${stats:-no executions}"
    continue
  fi
  failed=1
  echo "$target FAILED: ${stats:-no executions} (log: $log)"
  grep -E '^==[0-9]+== ?ERROR|^SUMMARY|runtime error|^left behind|^ALARM' "$log" | head -5 || true
  sed -n "s|.*Test unit written to \(.*\)\$|  reproducer: \1\n  run it:     $build/bin/$target \1|p" "$log"
done
rm -rf "$build/fuzz-scratch"
exit "$failed"
