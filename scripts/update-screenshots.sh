#!/usr/bin/env bash
# Copies the screens' pictures that the end-to-end test keeps (BUILD_DIR/e2e/screens/*.png) into
# docs/ as compact PNGs (800 x 600, 256 colours, no metadata), for the README.
# Usage: scripts/update-screenshots.sh [BUILD_DIR]   (default: build; run ctest -R '^e2e$' first)
set -euo pipefail

here=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$here/build}
from="$build/e2e/screens"
to="$here/docs"
screens=(title instructions map orbit lake fishing binoculars catch-records stocking album tour duck)

command -v convert >/dev/null 2>&1 || { echo "update-screenshots: ImageMagick's convert is not installed" >&2; exit 1; }
missing=0
for name in "${screens[@]}"; do
  [[ -f "$from/$name.png" ]] || { echo "update-screenshots: $from/$name.png is missing" >&2; missing=1; }
done
((missing == 0)) || { echo "update-screenshots: run the end-to-end test first: (cd $build && ctest -R '^e2e\$')" >&2; exit 1; }

mkdir -p "$to"
for name in "${screens[@]}"; do
  convert "$from/$name.png" -strip -colors 256 -define png:compression-level=9 "PNG8:$to/$name.png"
  echo "docs/$name.png ($(identify -format '%wx%h' "$to/$name.png"), $(($(stat -c %s "$to/$name.png") / 1024)) KB)"
done
