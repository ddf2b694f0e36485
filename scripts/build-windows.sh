#!/usr/bin/env bash
# Cross-builds the Windows bundle Serivane.vst3/Contents/x86_64-win/Serivane.vst3 (a 64-bit DLL),
# the command-line tool serivane.exe and the Windows test programs into build-windows/, with
# Debian's mingw-w64. Installs what it needs; the libraries it links are cross-built once into
# ~/.cache/serivane-mingw (scripts/build-windows-deps.sh).
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh --windows
scripts/build-windows-deps.sh

cache="${SERIVANE_MINGW_CACHE:-$HOME/.cache/serivane-mingw}"
cmake -S . -B build-windows -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$PWD/cmake/MingwToolchain.cmake" \
    -DSERIVANE_MINGW_PREFIX="$cache/prefix" >/dev/null
cmake --build build-windows -j"$(nproc)" "$@"

dll=build-windows/Serivane.vst3/Contents/x86_64-win/Serivane.vst3
# The bundle must export exactly the three entry points and need nothing beyond the system.
exports="$(x86_64-w64-mingw32-objdump -p "$dll" |
    awk '/\[Ordinal\/Name Pointer\] Table/ {table = 1; next} table && /^[ \t]*\[/ {print $NF; next} table {table = 0}' |
    sort | tr '\n' ' ')"
if [ "$exports" != "ExitDll GetPluginFactory InitDll " ]; then
    echo "The bundle exports \"$exports\" instead of GetPluginFactory, InitDll and ExitDll" >&2
    exit 1
fi
system='^(kernel32|user32|gdi32|msimg32|comctl32|shell32|ole32|advapi32|msvcrt|ws2_32|api-ms-win-[a-z0-9-]+)\.dll$'
if x86_64-w64-mingw32-objdump -p "$dll" | awk '/DLL Name:/ {print tolower($3)}' | grep -Ev "$system"; then
    echo "The bundle depends on the libraries above, which are no system libraries" >&2
    exit 1
fi
echo "Built $PWD/build-windows/Serivane.vst3"
