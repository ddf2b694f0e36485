#!/usr/bin/env bash
# Redraws the editor's pictures and cursor images into resources/ with the artwork program, and
# a preview of the editor composed from them into resources/artwork/preview.png.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release
cmake --build build -j"$(nproc)" --target serivane_artwork
build/resources/artwork/serivane_artwork resources --preview resources/artwork/preview.png
echo "Pictures in $(pwd)/resources/img and resources/cursors; preview: resources/artwork/preview.png"
