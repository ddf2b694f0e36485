#!/usr/bin/env bash
# Builds everything and runs every test, then the fuzz targets for a short fixed time each
# (scripts/fuzz.sh: 45 s each, --fuzz-seconds N to change it, --no-fuzz to leave them out).
# When Wine (wine64) is installed, the Windows build's tests run under it as well
# (scripts/test-windows.sh; --no-windows leaves them out). With --sanitize address,undefined
# (or thread) the tests run in a separate sanitizer build instead, without the fuzz targets
# and the Windows tests.
set -euo pipefail
cd "$(dirname "$0")/.."

sanitize=""
fuzz=1
windows=1
fuzzSeconds=45
while [ $# -gt 0 ]; do
    case "$1" in
    --sanitize)
        sanitize="${2:?--sanitize needs address,undefined or thread}"
        shift 2
        ;;
    --no-fuzz)
        fuzz=0
        shift
        ;;
    --no-windows)
        windows=0
        shift
        ;;
    --fuzz-seconds)
        fuzzSeconds="${2:?--fuzz-seconds needs a number}"
        shift 2
        ;;
    *)
        echo "usage: scripts/test.sh [--sanitize address,undefined|thread]" \
            "[--no-fuzz | --fuzz-seconds N] [--no-windows]" >&2
        exit 2
        ;;
    esac
done

scripts/install-deps.sh
if [ -n "$sanitize" ]; then
    # Reports from inside system libraries are filtered by the .supp files; leak reports need
    # whole allocation stacks to be told apart from ours.
    export ASAN_OPTIONS="fast_unwind_on_malloc=0${ASAN_OPTIONS:+:$ASAN_OPTIONS}"
    export LSAN_OPTIONS="suppressions=$PWD/scripts/lsan.supp${LSAN_OPTIONS:+:$LSAN_OPTIONS}"
    export TSAN_OPTIONS="suppressions=$PWD/scripts/tsan.supp${TSAN_OPTIONS:+:$TSAN_OPTIONS}"
    dir="build-${sanitize//,/-}"
    cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=Debug -DSERIVANE_SANITIZE="$sanitize" \
        -DSERIVANE_BENCHMARKS=OFF
    fuzz=0
    windows=0
else
    dir="build"
    # Benchmarks on, whatever an earlier configuration of build/ chose: the README lists them.
    cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=Release -DSERIVANE_BENCHMARKS=ON
fi
cmake --build "$dir" -j"$(nproc)"
ctest --test-dir "$dir" --output-on-failure -j"$(nproc)"
if [ "$windows" -eq 1 ] && { command -v wine64 >/dev/null || [ -x /usr/lib/wine/wine64 ]; }; then
    scripts/test-windows.sh
fi
if [ "$fuzz" -eq 1 ]; then
    scripts/fuzz.sh --seconds "$fuzzSeconds"
fi
