#include "tools/session/SessionShaping.h"

#include <benchmark/benchmark.h>

#include <array>
#include <cmath>
#include <numbers>
#include <vector>

namespace {

using serivane::tools::AmbientMix;
using serivane::tools::LevelCurve;
using serivane::tools::NoiseBed;
using serivane::tools::noiseColourCount;
using serivane::tools::SessionFades;
using serivane::tools::SessionShaping;
using serivane::tools::SoundBuffer;
using serivane::tools::ValueCurve;

constexpr int kOutputRate = 48000;
constexpr int kBlock = 512;

// Ten seconds of a noisy tone, long enough that the benchmark crosses the loop's seam.
SoundBuffer recording(int rate, int channels) {
    SoundBuffer buffer{rate, channels, {}};
    std::uint32_t state = 1;
    for (int f = 0; f < 10 * rate; ++f) {
        state = state * 1664525u + 1013904223u;
        double noise = static_cast<double>(state >> 8) / (1u << 24) - 0.5;
        double tone = std::sin(2.0 * std::numbers::pi * 220.0 * f / rate);
        for (int c = 0; c < channels; ++c)
            buffer.samples.push_back(static_cast<float>(0.3 * tone + 0.1 * noise));
    }
    return buffer;
}

void report(benchmark::State& state) {
    const double frames = static_cast<double>(state.iterations()) * kBlock;
    state.counters["per_frame"] =
        benchmark::Counter(frames, benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

void runBlocks(benchmark::State& state, SessionShaping& shaping) {
    std::vector<float> left(kBlock), right(kBlock);
    float* channels[] = {left.data(), right.data()};
    for (auto _ : state) {
        shaping.process(channels, 2, kBlock);
        benchmark::DoNotOptimize(left.data());
        benchmark::DoNotOptimize(right.data());
    }
    report(state);
}

// The mix alone, stereo output; args: the recording's rate and channel count.
void BM_AmbientMix(benchmark::State& state) {
    SessionShaping shaping(
        SessionFades(0, 0),
        AmbientMix(recording(static_cast<int>(state.range(0)), static_cast<int>(state.range(1))),
                   kOutputRate, -12.0));
    runBlocks(state, shaping);
}
BENCHMARK(BM_AmbientMix)->Args({48000, 2})->Args({44100, 1})->Args({44100, 2})->Args({96000, 2});

// The fades alone, inside a fade that never ends.
void BM_Fading(benchmark::State& state) {
    SessionShaping shaping(SessionFades(std::int64_t{1} << 40, 0), std::nullopt);
    runBlocks(state, shaping);
}
BENCHMARK(BM_Fading);

// The noise bed alone at a steady level; arg: the colour (white, pink, brown as 0, 1, 2).
void BM_NoiseBed(benchmark::State& state) {
    std::array<ValueCurve, noiseColourCount> weights;
    std::array<bool, noiseColourCount> used{};
    auto colour = static_cast<std::size_t>(state.range(0));
    weights[colour] = ValueCurve(1.0);
    used[colour] = true;
    SessionShaping shaping(SessionFades(0, 0), std::nullopt,
                           NoiseBed(1, kOutputRate, LevelCurve(-20.0), weights, used));
    runBlocks(state, shaping);
}
BENCHMARK(BM_NoiseBed)->Arg(0)->Arg(1)->Arg(2);

// The noise bed crossfading from pink to brown while its level glides: every curve moves.
void BM_NoiseBedGliding(benchmark::State& state) {
    constexpr std::int64_t forever = std::int64_t{1} << 40;
    std::array<ValueCurve, noiseColourCount> weights = {ValueCurve(0.0),
                                                        ValueCurve(1.0, {{0, forever, 0.0}}),
                                                        ValueCurve(0.0, {{0, forever, 1.0}})};
    SessionShaping shaping(SessionFades(0, 0), std::nullopt,
                           NoiseBed(1, kOutputRate, LevelCurve(-20.0, {{0, forever, -40.0}}),
                                    weights, {false, true, true}));
    runBlocks(state, shaping);
}
BENCHMARK(BM_NoiseBedGliding);

// The stage as a session uses it: a stereo 44.1 kHz recording under a fade.
void BM_MixAndFade(benchmark::State& state) {
    SessionShaping shaping(SessionFades(std::int64_t{1} << 40, 0),
                           AmbientMix(recording(44100, 2), kOutputRate, -12.0));
    runBlocks(state, shaping);
}
BENCHMARK(BM_MixAndFade);

} // namespace
