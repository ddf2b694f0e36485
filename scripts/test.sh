#!/usr/bin/env bash
# Builds everything and runs every test. With --sanitize address,undefined (or thread) the
# tests run in a separate sanitizer build.
set -euo pipefail
cd "$(dirname "$0")/.."

sanitize=""
if [ "${1:-}" = "--sanitize" ]; then
    sanitize="${2:?--sanitize needs address,undefined or thread}"
fi

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
else
    dir="build"
    cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=Release
fi
cmake --build "$dir" -j"$(nproc)"
ctest --test-dir "$dir" --output-on-failure -j"$(nproc)"
