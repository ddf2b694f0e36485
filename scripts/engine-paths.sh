#!/usr/bin/env bash
# Builds only the engine tests once per forced render path (plain, AVX2, AVX-512) and runs them,
# so that every test, not only the reference comparisons, runs on each path. A path this
# processor cannot run is skipped with a message.
set -euo pipefail
cd "$(dirname "$0")/.."

# Whether /proc/cpuinfo lists every given flag.
cpuHas() {
    local flags
    flags="$(grep -m1 '^flags' /proc/cpuinfo 2>/dev/null || true)"
    for flag in "$@"; do
        [[ " $flags " == *" $flag "* ]] || return 1
    done
}

for path in plain avx2 avx512; do
    case "$path" in
    avx2) needs=(avx2) ;;
    avx512) needs=(avx512f avx512dq avx512vl) ;;
    *) needs=() ;;
    esac
    if [ "${#needs[@]}" -gt 0 ] && ! cpuHas "${needs[@]}"; then
        echo "engine path $path: skipped, this processor lacks ${needs[*]}"
        continue
    fi
    dir="build-path-$path"
    cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=Release -DSERIVANE_ENGINE_PATH="$path" \
        -DSERIVANE_BENCHMARKS=OFF >/dev/null
    cmake --build "$dir" -j"$(nproc)" --target engine_tests
    echo "engine path $path:"
    "$dir/tests/engine/engine_tests" --gtest_brief=1
done
