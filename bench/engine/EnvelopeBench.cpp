#include "engine/SegmentEnvelope.h"

#include <benchmark/benchmark.h>

namespace {

// Results are kept alive through the envelope's address: the library's DoNotOptimize on a
// double lvalue can route it through an integer register and corrupt it.
SegmentEnvelope VolumeEnvelope(float curvature) {
    SegmentEnvelope env;
    env.Init(false);
    for (float& c : env.curvatures) c = curvature;
    env.Prepare(5760000.0f);
    return env;
}

void BM_EnvelopeStepLinear(benchmark::State& state) {
    SegmentEnvelope env = VolumeEnvelope(0.0f);
    for (auto _ : state) {
        env.Step();
        benchmark::DoNotOptimize(&env);
    }
}
BENCHMARK(BM_EnvelopeStepLinear);

void BM_EnvelopeStepCurved(benchmark::State& state) {
    SegmentEnvelope env = VolumeEnvelope(4.0f);
    for (auto _ : state) {
        env.Step();
        benchmark::DoNotOptimize(&env);
    }
}
BENCHMARK(BM_EnvelopeStepCurved);

void BM_EnvelopeSeek(benchmark::State& state) {
    SegmentEnvelope env = VolumeEnvelope(4.0f);
    double x = 0.0;
    for (auto _ : state) {
        env.Seek(x);
        benchmark::DoNotOptimize(&env);
        x += 0.0137;
        if (x >= 1.0) x -= 1.0;
    }
}
BENCHMARK(BM_EnvelopeSeek);

} // namespace
