#!/usr/bin/env bash
# Whole-process timing of `serivane render`: 600 s of 16 tones at 48 kHz into a pcm16 WAV, run
# five times under /usr/bin/time. Reports the median CPU time (user + sys, so that other load
# on a shared machine does not count), the × real time it gives, and the tool's own share: the
# part of that CPU time not spent in the instrument's render. That time, for the same 600 s, comes
# from the instrument benchmark, which renders the same settings: the default program with 16
# tones, whose curved frequency sweep costs the engine more than the engine benchmark's straight
# one.
#
# usage: bench/render-time.sh [BUILD_DIR] [-- extra render options, e.g. --precision 64]
set -euo pipefail
cd "$(dirname "$0")/.."

build="build"
if [ $# -gt 0 ] && [ "$1" != "--" ]; then
    build="$1"
    shift
fi
[ "${1:-}" = "--" ] && shift

seconds=600
runs=5
tool="$build/tools/serivane"
bundle="$build/Serivane.vst3"
bench="$build/bench/instrument/instrument_bench"
for f in "$tool" "$bench"; do
    [ -x "$f" ] || { echo "missing $f: build the serivane, Serivane and instrument_bench targets" >&2; exit 1; }
done

scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT

median() { sort -g | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }

for run in $(seq "$runs"); do
    # A new file each time: truncating the last run's 115 MB would count against the render.
    rm -f "$scratch/out.wav"
    /usr/bin/time -f '%U %S' -o "$scratch/time" "$tool" render --bundle "$bundle" \
        --seconds "$seconds" --sample-rate 48000 --set Tones=16 --format pcm16 "$@" \
        "$scratch/out.wav" >/dev/null
    awk '{ print $1 + $2 }' "$scratch/time" >>"$scratch/cpu"
done
cpu="$(median <"$scratch/cpu")"

# The instrument alone: CPU seconds per second of audio, from the benchmark's median real-time
# factor on the widest path this processor runs (the one a new engine picks).
engineRt="$("$bench" --benchmark_filter='^BM_InstrumentRender$' \
    --benchmark_repetitions="$runs" --benchmark_report_aggregates_only=true \
    --benchmark_format=json 2>/dev/null |
    awk -F: '/"aggregate_name": "median"/ { m = 1 } m && /"rt_factor"/ { gsub(/[ ,]/, "", $2); rt = $2; m = 0 }
        END { print rt }')"

awk -v cpu="$cpu" -v s="$seconds" -v rt="$engineRt" -v runs="$runs" 'BEGIN {
    engine = s / rt
    printf "serivane render, %d s, 16 tones, 48 kHz, pcm16, median of %d (CPU user+sys):\n", s, runs
    printf "  %.3f s CPU, %.0fx real time, %.2f ns per tone pair and frame\n", cpu, s / cpu, cpu / (s * 48000 * 16) * 1e9
    printf "  instrument alone %.3f s (%.0fx), tool %.3f s = %.1f %% of the total\n", engine, rt, cpu - engine, (cpu - engine) / cpu * 100
}'
