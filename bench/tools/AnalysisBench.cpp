#include "tools/analysis/BeatAnalysis.h"

#include <benchmark/benchmark.h>
#include <cmath>
#include <filesystem>
#include <numbers>
#include <sndfile.h>
#include <unistd.h>
#include <vector>

namespace {

namespace fs = std::filesystem;

// Stereo at 48 kHz: a tone gliding from 200 to 400 Hz each minute, 7.83 Hz higher on the right;
// written a minute at a time, so that an hour needs no hour of samples in memory.
fs::path writeFile(int minutes) {
    const fs::path path = fs::temp_directory_path() /
                          ("serivane-analysis-bench-" + std::to_string(getpid()) + ".wav");
    SF_INFO info{};
    info.samplerate = 48000;
    info.channels = 2;
    info.format = SF_FORMAT_WAV | SF_FORMAT_PCM_24;
    SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
    const long long frames = 60LL * info.samplerate;
    std::vector<double> samples(static_cast<std::size_t>(2 * frames));
    double phase = 0.0, beat = 0.0;
    for (int minute = 0; minute < minutes; ++minute) {
        for (long long f = 0; f < frames; ++f) {
            const double t = static_cast<double>(f) / info.samplerate;
            phase += 2.0 * std::numbers::pi * (200.0 + 200.0 * t / 60.0) / info.samplerate;
            beat += 2.0 * std::numbers::pi * 7.83 / info.samplerate;
            samples[static_cast<std::size_t>(2 * f)] = 0.5 * std::sin(phase);
            samples[static_cast<std::size_t>(2 * f + 1)] = 0.5 * std::sin(phase + beat);
        }
        sf_writef_double(file, samples.data(), frames);
    }
    sf_close(file);
    return path;
}

// The whole analysis of one minute, windows of the given length.
void BM_AnalyzeMinute(benchmark::State& state) {
    const fs::path path = writeFile(1);
    serivane::tools::BeatAnalysis analysis;
    std::string error;
    for (auto _ : state) {
        serivane::tools::analyzeSoundFile(path.string(), {static_cast<double>(state.range(0))},
                                          analysis, error);
        benchmark::DoNotOptimize(analysis.total.beat.hz);
    }
    fs::remove(path);
}
BENCHMARK(BM_AnalyzeMinute)->Arg(1)->Arg(5)->Arg(30)->Unit(benchmark::kMillisecond);

// An hour in its automatic windows (a minute each), as `serivane analyze` measures it.
void BM_AnalyzeHour(benchmark::State& state) {
    const fs::path path = writeFile(60);
    serivane::tools::BeatAnalysis analysis;
    std::string error;
    for (auto _ : state) {
        serivane::tools::analyzeSoundFile(path.string(), {}, analysis, error);
        benchmark::DoNotOptimize(analysis.total.beat.hz);
    }
    fs::remove(path);
}
BENCHMARK(BM_AnalyzeHour)->Iterations(1)->Unit(benchmark::kSecond);

} // namespace
