#!/usr/bin/env bash
# Redraws the editor's pictures (at 1x, 2x and 3x) and cursor images into resources/ with the
# artwork program, and a preview of the editor composed from them and a sheet of the knobs at
# seven values into resources/artwork/preview.png and knobs.png.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release
cmake --build build -j"$(nproc)" --target serivane_artwork
build/resources/artwork/serivane_artwork resources --preview resources/artwork/preview.png
build/resources/artwork/serivane_artwork resources --knobs resources/artwork/knobs.png
echo "Pictures in $(pwd)/resources/img, img@2x, img@3x and resources/cursors; previews in resources/artwork/"
