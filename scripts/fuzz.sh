#!/usr/bin/env bash
# Builds the libFuzzer targets with clang, AddressSanitizer and UndefinedBehaviorSanitizer in
# build-fuzz/ and runs each for a fixed time, starting from its seed corpus in tests/fuzz/corpus/.
#   scripts/fuzz.sh [--seconds N] [state|text|process ...]
# Inputs found along the way stay in build-fuzz/corpus/; a failing input is saved in
# build-fuzz/artifacts/ and replays with: build-fuzz/tests/fuzz/fuzz_NAME FILE
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=30
targets=()
while [ $# -gt 0 ]; do
    case "$1" in
    --seconds)
        seconds="${2:?--seconds needs a number}"
        shift 2
        ;;
    state | text | process)
        targets+=("$1")
        shift
        ;;
    *)
        echo "usage: scripts/fuzz.sh [--seconds N] [state|text|process ...]" >&2
        exit 2
        ;;
    esac
done
[ ${#targets[@]} -gt 0 ] || targets=(state text process)

scripts/install-deps.sh
dir="build-fuzz"
cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
    -DSERIVANE_SANITIZE=address,undefined -DSERIVANE_FUZZ=ON -DSERIVANE_BENCHMARKS=OFF
cmake --build "$dir" -j"$(nproc)" --target "${targets[@]/#/fuzz_}"

mkdir -p "$dir/artifacts" "$dir/logs"
# The targets run side by side, so that the run takes the time of one.
fuzzOne() {
    local t="$1" found="$dir/corpus/$1"
    mkdir -p "$found"
    "$dir/tests/fuzz/fuzz_$t" -max_total_time="$seconds" -timeout=30 -rss_limit_mb=4096 \
        -print_final_stats=1 -artifact_prefix="$dir/artifacts/$t-" \
        "$found" "tests/fuzz/corpus/$t" >"$dir/logs/$t.log" 2>&1
}
pids=()
for t in "${targets[@]}"; do
    fuzzOne "$t" &
    pids+=($!)
done
failed=()
for i in "${!targets[@]}"; do
    t="${targets[$i]}"
    log="$dir/logs/$t.log"
    if wait "${pids[$i]}"; then
        echo "fuzz_$t: $(grep -m1 -o 'stat::number_of_executed_units: *[0-9]*' "$log" |
            grep -o '[0-9]*$') inputs in $seconds s, no failure"
    else
        tail -n 60 "$log"
        echo "fuzz_$t: FAILED (log: $log)"
        failed+=("$t")
    fi
done
[ ${#failed[@]} -eq 0 ]
