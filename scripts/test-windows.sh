#!/usr/bin/env bash
# Builds the Windows bundle, serivane.exe and the Windows test programs, and runs them under
# Wine in a fresh prefix: the unit tests, the checks through the Windows bundle and host, the
# editor against the Linux reference pictures (under Xvfb), and renders of the Windows build
# compared with the Linux build's (within 1e-6 per sample), made in a folder whose name no ANSI
# code page holds. The Linux tool comes from build/ (scripts/test.sh builds it first). Prints the
# time it took.
set -euo pipefail
cd "$(dirname "$0")/.."
started=$(date +%s)

scripts/build-windows.sh
[ -f build/CMakeCache.txt ] || cmake -S . -B build -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build -j"$(nproc)" --target serivane Serivane >/dev/null

WINEPREFIX="$(mktemp -d "${TMPDIR:-/tmp}/serivane-wine.XXXXXX")"
export WINEPREFIX WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
out="$(mktemp -d "${TMPDIR:-/tmp}/serivane-renders-Jürgen-Ωμέγα.XXXXXX")"
trap 'wineserver -k 2>/dev/null || true; rm -rf "$WINEPREFIX" "$out"' EXIT
echo "Making the Wine prefix $WINEPREFIX"
scripts/wine-prefix.sh

# One program at a time: each run waits for the Wine server to go (scripts/wine-run.sh). The
# editor tests open windows, which Wine shows on an X server of their own.
xvfb-run -a -s "-screen 0 1280x1024x24" ctest --test-dir build-windows --output-on-failure

# The Windows tool reads its words, the bundle, the recordings and the renders by their wide
# names in that folder; Wine passes such names on in a UTF-8 locale.
cp -r build-windows/Serivane.vst3 "$out/"
windowsTool() {
    LC_ALL=C.UTF-8 scripts/wine-run.sh build-windows/tools/serivane.exe "$@"
}

# The same renders from both builds: the beat of the Schumann preset and a 40 Hz gamma beat.
compare() {
    local name="$1"
    shift
    build/tools/serivane render --bundle build/Serivane.vst3 "$@" --format float --seconds 10 \
        "$out/$name-linux.wav" >/dev/null
    windowsTool render --bundle "$out/Serivane.vst3" "$@" --format float --seconds 10 \
        "$out/$name-windows.wav" >/dev/null
    echo -n "Render \"$name\", Windows against Linux: "
    scripts/compare-renders.py "$out/$name-linux.wav" "$out/$name-windows.wav" 1e-6
}
compare schumann --preset "Psychic - Schumann Resonance (7.83)"
compare gamma --set "Binaural=40" --set "Tones=4" \
    --set "Wave=Golden Sine"
# A session: a program with fades, and a recording mixed under the sound.
compare program --program sleep-descent --fade-in 2 --fade-out 3
compare mix --preset 3 --mix "$out/schumann-linux.wav" --mix-level -12
# Noise beds from the same seed, one moved by a program.
compare noise --preset 3 --noise pink --noise-level -18 --seed 7
compare noisebed --program morning-wake-up --noise brown --seed 3

# Both builds' analysis finds the same beat in the same file.
beat() { grep '^Beat:' || true; }
linuxBeat="$(build/tools/serivane analyze "$out/gamma-linux.wav" | beat)"
windowsBeat="$(windowsTool analyze "$out/gamma-linux.wav" | tr -d '\r' | beat)"
echo "Analysis, Windows against Linux: $windowsBeat"
if [ -z "$linuxBeat" ] || [ "$linuxBeat" != "$windowsBeat" ]; then
    echo "The Windows analysis differs from the Linux one: \"$linuxBeat\"" >&2
    exit 1
fi

echo "Windows tests took $(($(date +%s) - started)) s"
