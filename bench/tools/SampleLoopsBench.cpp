#include "tools/sound/LevelMeter.h"
#include "tools/sound/Pcm16.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdint>
#include <vector>

namespace {

constexpr int kBlock = 512;

// A render's block as the plug-in hands it over: two channels of float samples.
struct StereoBlock {
    std::vector<float> left = std::vector<float>(kBlock);
    std::vector<float> right = std::vector<float>(kBlock);
    const float* channels[2] = {left.data(), right.data()};

    StereoBlock() {
        for (int i = 0; i < kBlock; ++i) {
            left[i] = static_cast<float>(0.3 * std::sin(i * 0.05));
            right[i] = static_cast<float>(0.3 * std::sin(i * 0.051));
        }
    }
};

// The level meter over a block of both channels, as the render adds each block.
void BM_MeterBlock(benchmark::State& state) {
    StereoBlock block;
    serivane::tools::LevelMeter meter;
    for (auto _ : state) {
        for (const float* channel : block.channels) meter.add(channel, kBlock);
        benchmark::DoNotOptimize(&meter);
    }
    state.counters["s_per_sample"] =
        benchmark::Counter(2.0 * kBlock * state.iterations(),
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_MeterBlock);

// The 16-bit conversion of a block into interleaved samples.
void BM_Pcm16Block(benchmark::State& state) {
    StereoBlock block;
    std::vector<std::int16_t> out(2 * kBlock);
    for (auto _ : state) {
        serivane::tools::toPcm16(block.channels, 2, kBlock, out.data());
        benchmark::DoNotOptimize(out.data());
    }
    state.counters["s_per_sample"] =
        benchmark::Counter(2.0 * kBlock * state.iterations(),
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_Pcm16Block);

} // namespace
