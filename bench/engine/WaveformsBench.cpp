#include "engine/Waveforms.h"

#include <benchmark/benchmark.h>

namespace {

// Calls the installed shape through the bank's function pointer, as the fallback render does.
void BM_Wave(benchmark::State& state) {
    OscillatorBank bank;
    SetWave(bank, 8, static_cast<int>(state.range(0)));
    const double increment = bank.period * 441.0 / 48000.0;
    double phase = 0.0;
    double sum = 0.0;
    for (auto _ : state) {
        sum += bank.waveFunction(bank, phase);
        phase += increment;
        if (phase >= bank.period) phase -= bank.period;
    }
    benchmark::DoNotOptimize(&sum);
    state.SetLabel(std::to_string(bank.waveIndex));
}
BENCHMARK(BM_Wave)->DenseRange(0, 6);

} // namespace
