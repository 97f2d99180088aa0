#!/usr/bin/env bash
# Converts sample data that the project makes itself: a synthetic SDTS transfer packed as
# .tar.gz (as USGS shipped them) and a synthetic DLG-3 optional-format file.
# Usage: tools/demo.sh [BUILD_DIR]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
demo=$PWD/out/demo
rm -rf "$demo"
mkdir -p "$demo/input/transfer" "$demo/output"

"$build/bin/make_grid_transfer" "$demo/input/transfer" 4 6 >/dev/null
tar -czf "$demo/input/DEMO.sdts.tar.gz" -C "$demo/input/transfer" .
rm -rf "$demo/input/transfer"
"$build/bin/make_dlgopt" "$demo/input/DEMO.opt" --lines 40

echo "Converting the sample inputs in $demo/input:"
"$build/bin/corvane" convert -q -o "$demo/output" "$demo/input/DEMO.sdts.tar.gz" "$demo/input/DEMO.opt"
echo
echo "Outputs (shapefiles, dBase tables, log and document files) are in $demo/output:"
find "$demo/output" -mindepth 1 -maxdepth 1 -type d | sort | while read -r dir; do
  printf '  %s  (%d files: %s)\n' "$dir" "$(find "$dir" -type f | wc -l)" \
    "$(cd "$dir" && ls | grep -E '\.shp$' | tr '\n' ' ')"
done
