#!/bin/sh
# Builds the ISO 8211 fuzz target with clang, writes its seed corpus and fuzzes for
# SECONDS (default 600). Crashes land in build-fuzz/fuzz-artifacts/.
set -eu
root=$(cd "$(dirname "$0")/../.." && pwd)
build=${FUZZ_BUILD_DIR:-$root/build-fuzz}
seconds=${1:-600}
CC=clang CXX=clang++ cmake -S "$root" -B "$build" -G Ninja -DCORVANE_WITH_QT=OFF -DCORVANE_TESTS=OFF >/dev/null
cmake --build "$build" -j2 --target iso8211_fuzz iso8211_fuzz_seeds
mkdir -p "$build/fuzz-corpus" "$build/fuzz-artifacts"
"$build/bin/iso8211_fuzz_seeds" "$build/fuzz-corpus"
exec "$build/bin/iso8211_fuzz" -max_total_time="$seconds" -rss_limit_mb=2048 -timeout=10 \
  -artifact_prefix="$build/fuzz-artifacts/" "$build/fuzz-corpus"
