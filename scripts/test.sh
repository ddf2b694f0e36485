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
    dir="build-${sanitize//,/-}"
    cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=Debug -DSERIVANE_SANITIZE="$sanitize" \
        -DSERIVANE_BENCHMARKS=OFF
else
    dir="build"
    cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=Release
fi
cmake --build "$dir" -j"$(nproc)"
# Leaks inside system libraries that only end with the process are not ours to report.
export LSAN_OPTIONS="suppressions=$PWD/tests/lsan.supp:print_suppressions=0"
ctest --test-dir "$dir" --output-on-failure -j"$(nproc)"
