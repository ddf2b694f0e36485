#include "SweepingInstrument.h"

#include <benchmark/benchmark.h>

namespace {

// The instrument's own render of the default program with 16 tones, as `serivane render` plays
// it: its frequency sweep is curved, which costs the engine a multiplication per tone and ear
// that the engine benchmark's straight sweep does not. The whole render's time is set against
// this one.
void BM_InstrumentRender(benchmark::State& state) {
    SweepingInstrument instrument(std::nullopt);
    for (auto _ : state) instrument.Render(1);
    state.counters["rt_factor"] =
        benchmark::Counter(static_cast<double>(state.iterations()) * SweepingInstrument::kBlock /
                               SweepingInstrument::kSampleRate,
                           benchmark::Counter::kIsRate);
}
BENCHMARK(BM_InstrumentRender);

} // namespace
