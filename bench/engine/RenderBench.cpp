#include "engine/ParamActions.h"
#include "engine/ToneEngine.h"

#include <benchmark/benchmark.h>

#include <vector>

namespace {

constexpr double kSampleRate = 48000.0;
constexpr int kBlock = 512;

// Default settings with "Play Anyway" on, prepared the way the first block prepares them.
void StartEngine(ToneEngine& engine, int tones, int wave, double sampleRate = kSampleRate,
                 double lowHz = 10, double highHz = 1500) {
    const double values[13] = {11, lowHz, highHz, static_cast<double>(tones), 25,
                               50, 50,    50,     static_cast<double>(wave),  60,
                               2,  1,     50};
    for (int i = 0; i < 13; ++i) engine.ApplyParamKey(i, ParamKey(i, values[i]));
    engine.Initialise();
    engine.SetSampleRate(sampleRate);
    for (int i : {1, 0, 9}) engine.ApplyParamKey(i, ParamKey(i, values[i]));
    engine.FadeInAtNextBlock();
}

// Warms the engine up, then renders a block per iteration; answers the frames timed.
double RenderSteadily(ToneEngine& engine, benchmark::State& state) {
    std::vector<double> left(kBlock), right(kBlock);
    double* outputs[2] = {left.data(), right.data()};
    for (int i = 0; i < 200; ++i) engine.Render(nullptr, outputs, kBlock, false, 0);
    for (auto _ : state) {
        engine.Render(nullptr, outputs, kBlock, false, 0);
        benchmark::DoNotOptimize(left.data());
        benchmark::DoNotOptimize(right.data());
    }
    return static_cast<double>(state.iterations()) * kBlock;
}

// Throughput of steady rendering on one path (0 plain, 1 AVX2, 2 AVX-512); rt_factor is seconds
// of audio per second of CPU, s_per_tone_frame the CPU time per tone pair and frame.
void BM_Render(benchmark::State& state) {
    const int tones = static_cast<int>(state.range(0));
    ToneEngine engine(false, false);
    if (!engine.SetPath(static_cast<RenderPath>(state.range(2)))) {
        state.SkipWithError("this processor lacks the path");
        return;
    }
    StartEngine(engine, tones, static_cast<int>(state.range(1)));
    const double frames = RenderSteadily(engine, state);
    state.counters["rt_factor"] =
        benchmark::Counter(frames / kSampleRate, benchmark::Counter::kIsRate);
    state.counters["s_per_tone_frame"] = benchmark::Counter(
        frames * tones, benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_Render)
    ->ArgNames({"tones", "wave", "path"})
    ->ArgsProduct({{1, 7, 16}, {0, 1, 2, 3, 4, 5, 6}, {0, 1, 2}});

// Tones from 9 kHz to 10 kHz at 8 kHz step more than a period per sample and take the loop with
// the full phase wrap.
void BM_RenderAboveTheSampleRate(benchmark::State& state) {
    constexpr double kLowRate = 8000.0;
    ToneEngine engine(false, false);
    StartEngine(engine, 7, static_cast<int>(state.range(0)), kLowRate, 9000, 10000);
    const double frames = RenderSteadily(engine, state);
    state.counters["rt_factor"] =
        benchmark::Counter(frames / kLowRate, benchmark::Counter::kIsRate);
}
BENCHMARK(BM_RenderAboveTheSampleRate)->ArgName("wave")->Arg(0)->Arg(1);

} // namespace
