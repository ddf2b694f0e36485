#include "engine/ParamIds.h"
#include "instrument/CLS_SERIVANE.h"

#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

namespace {

constexpr double kSampleRate = 48000.0;
constexpr int kBlock = 512;

struct Release {
    void operator()(CLS_SERIVANE* p) const { p->release(); }
};

// The instrument's own render at its default settings with 16 tones, as `serivane render`
// plays it: the frequency sweep curved and both envelopes as the default program has them.
// The engine benchmark's linear sweep is a little cheaper, so this is the engine's time to
// set against a whole render's.
void BM_InstrumentRender(benchmark::State& state) {
    std::unique_ptr<CLS_SERIVANE, Release> plugin(new CLS_SERIVANE());
    plugin->SetSampleRate(kSampleRate);
    for (int i = 0; i < kNumParams; ++i) plugin->OnParamChanged(i);
    for (auto [index, value] : {std::pair{kTones, 16.0}, {kPlayAnyway, 1.0}}) {
        plugin->ParamAt(index)->SetClamped(value);
        plugin->OnParamChanged(index);
    }
    std::vector<double> left(kBlock), right(kBlock);
    double* outputs[2] = {left.data(), right.data()};
    for (int i = 0; i < 200; ++i) plugin->RenderBlock(nullptr, outputs, kBlock);
    for (auto _ : state) {
        plugin->RenderBlock(nullptr, outputs, kBlock);
        benchmark::DoNotOptimize(left.data());
        benchmark::DoNotOptimize(right.data());
    }
    state.counters["rt_factor"] =
        benchmark::Counter(static_cast<double>(state.iterations()) * kBlock / kSampleRate,
                           benchmark::Counter::kIsRate);
}
BENCHMARK(BM_InstrumentRender);

} // namespace
