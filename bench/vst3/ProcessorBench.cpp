// Throughput of the built bundle's audio processor, driven through the VST3 interfaces.
#include "host/ProcessDriver.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <vector>

namespace {

using namespace serivane::host;
using Steinberg::Vst::kSample32;
using Steinberg::Vst::kSample64;

constexpr double kRate = 48000.0;
constexpr int kBlock = 512;
constexpr Steinberg::Vst::ParamID kBinauralId = 0;
constexpr Steinberg::Vst::ParamID kTonesId = 3;
constexpr Steinberg::Vst::ParamID kPlayAnywayId = 11;

// One loaded instance, processing, with the transport running.
struct Rig {
    std::shared_ptr<Module> module;
    std::unique_ptr<Plugin> plugin;
    std::unique_ptr<ProcessDriver> driver;

    Rig(int tones, Steinberg::int32 sampleSize, int maxBlock = kBlock) {
        std::string error;
        module = Module::load(SERIVANE_BUNDLE_PATH, error);
        if (module) plugin = Plugin::create(module, error);
        if (!plugin) Fail(error);
        ProcessConfig config;
        config.sampleRate = kRate;
        config.maxBlock = maxBlock;
        config.symbolicSampleSize = sampleSize;
        config.processMode = Steinberg::Vst::kRealtime;
        driver = std::make_unique<ProcessDriver>(*plugin, config);
        if (!driver->start(error)) Fail(error);
        driver->transport().setPlaying(true);
        driver->parameterChanges().add(kTonesId, (tones - 1) / 15.0);
        driver->parameterChanges().add(kPlayAnywayId, 1.0);
        driver->flush();
    }

    [[noreturn]] static void Fail(const std::string& error) {
        std::fprintf(stderr, "cannot load the bundle: %s\n", error.c_str());
        std::exit(1);
    }
};

template <typename Sample> void RenderBlocks(benchmark::State& state, Steinberg::int32 size) {
    const int tones = static_cast<int>(state.range(0));
    Rig rig(tones, size);
    std::vector<Sample> left(kBlock), right(kBlock);
    Sample* outputs[] = {left.data(), right.data()};
    for (int i = 0; i < 100; ++i) rig.driver->process(outputs, kBlock);
    for (auto _ : state) {
        rig.driver->process(outputs, kBlock);
        benchmark::DoNotOptimize(left.data());
    }
    const double frames = static_cast<double>(state.iterations()) * kBlock;
    state.counters["realtime_x"] = benchmark::Counter(frames / kRate, benchmark::Counter::kIsRate);
    state.counters["per_tone_sample"] = benchmark::Counter(
        frames * tones * 2, benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

void BM_Render32(benchmark::State& state) {
    RenderBlocks<float>(state, kSample32);
}
void BM_Render64(benchmark::State& state) {
    RenderBlocks<double>(state, kSample64);
}
BENCHMARK(BM_Render32)->Arg(1)->Arg(7)->Arg(16);
BENCHMARK(BM_Render64)->Arg(1)->Arg(7)->Arg(16);

// One 64-frame block, with or without a "Binaural" change that re-lays out every tone.
void BM_ProcessCall(benchmark::State& state) {
    const bool change = state.range(0) != 0;
    Rig rig(16, kSample32);
    std::vector<float> left(64), right(64);
    float* outputs[] = {left.data(), right.data()};
    bool flip = false;
    for (auto _ : state) {
        if (change) rig.driver->parameterChanges().add(kBinauralId, (flip = !flip) ? 0.1 : 0.2);
        rig.driver->process(outputs, 64);
    }
}
BENCHMARK(BM_ProcessCall)->ArgName("param_change")->Arg(0)->Arg(1);

// 16 tones in the block sizes of tracking and of mixing, the host's maximum the block itself.
// cpu_per_frame set against the 512-frame figure gives the cost of a call and of a partial chunk.
void BM_BlockSize(benchmark::State& state) {
    const int block = static_cast<int>(state.range(0));
    constexpr int kTones = 16;
    Rig rig(kTones, kSample32, block);
    std::vector<float> left(static_cast<size_t>(block)), right(static_cast<size_t>(block));
    float* outputs[] = {left.data(), right.data()};
    for (int i = 0; i < 100 * kBlock / block; ++i) rig.driver->process(outputs, block);
    for (auto _ : state) {
        rig.driver->process(outputs, block);
        benchmark::DoNotOptimize(left.data());
    }
    const double frames = static_cast<double>(state.iterations()) * block;
    state.counters["realtime_x"] = benchmark::Counter(frames / kRate, benchmark::Counter::kIsRate);
    state.counters["cpu_per_frame"] =
        benchmark::Counter(frames, benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_BlockSize)->ArgName("frames")->Arg(32)->Arg(64)->Arg(128)->Arg(512);

} // namespace

BENCHMARK_MAIN();
