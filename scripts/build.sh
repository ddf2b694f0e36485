#!/usr/bin/env bash
# Builds the instrument, installs the bundle into ~/.vst3 and renders a demo file.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release
cmake --build build -j"$(nproc)" --target Serivane serivane

mkdir -p "$HOME/.vst3"
rm -rf "$HOME/.vst3/Serivane.vst3"
cp -r build/Serivane.vst3 "$HOME/.vst3/"
echo "Installed $HOME/.vst3/Serivane.vst3"

mkdir -p out
build/tools/serivane render --preset "Psychic - Schumann Resonance (7.83)" --seconds 60 \
    out/schumann-7.83.wav
echo "Demo: $(pwd)/out/schumann-7.83.wav"
