#!/usr/bin/env bash
# Converts a synthetic DLG-3 optional-format file of 1,000,000 coordinate pairs
# (10,000 lines of 100 points) through quoinlink and reports the time and peak memory.
# usage: tools/bench/bench_dlgopt.sh [BUILD_DIR]   (needs make_dlgopt and corvane built)
set -euo pipefail
build=${1:-build}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/out"

"$build/bin/make_dlgopt" "$work/bench.opt" --lines 10000 --points-per-line 100
echo "input: $(stat -c %s "$work/bench.opt") bytes"
/usr/bin/time -v "$build/bin/corvane" convert -q -o "$work/out" "$work/bench.opt" 2> "$work/time.txt"
grep -E "Elapsed \(wall clock\)|Maximum resident set size|User time|System time" "$work/time.txt"
du -sh "$work/out/benchshp" | sed 's/^/outputs: /'
