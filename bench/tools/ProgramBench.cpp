#include "tools/program/Automation.h"
#include "tools/program/ProgramScript.h"
#include "tools/program/ProgramSource.h"

#include <benchmark/benchmark.h>
#include <cstdio>

namespace {

using namespace serivane;

std::shared_ptr<host::Module> bundle() {
    static std::shared_ptr<host::Module> module = [] {
        std::string error;
        return host::Module::load(SERIVANE_BUNDLE_PATH, error);
    }();
    return module;
}

// Steps one second apart from `format` (which takes a number), as many as `lines`, or as many as
// fit into the largest program file when `lines` is 0.
std::string programOf(const char* format, std::size_t lines) {
    std::string text;
    char line[64];
    for (std::size_t i = 0; lines == 0 || i < lines; ++i) {
        int length = std::snprintf(line, sizeof line, format, 20 + static_cast<int>(i % 30));
        if (lines == 0 && text.size() + static_cast<std::size_t>(length) > tools::maxProgramBytes)
            break;
        text.append(line, static_cast<std::size_t>(length));
    }
    return text;
}

// Reading and planning a program, as render, play and analyze do before they start.
void load(benchmark::State& state, const std::string& text) {
    for (auto _ : state) {
        tools::ProgramScript script;
        std::string error;
        bool read = tools::ProgramScript::parse(text, "bench.txt", script, error);
        std::optional<tools::Automation> automation =
            read ? tools::Automation::build(bundle(), {}, script, 48000.0, error) : std::nullopt;
        if (!automation) state.SkipWithError(error.c_str());
        benchmark::DoNotOptimize(automation);
    }
    state.counters["bytes"] = static_cast<double>(text.size());
}

// Glides of one second, one a second.
void BM_LoadGlides(benchmark::State& state) {
    load(state,
         programOf("+1s Binaural = %d Hz over 1s\n", static_cast<std::size_t>(state.range(0))));
}
BENCHMARK(BM_LoadGlides)->Arg(12500)->Arg(50000)->Unit(benchmark::kMillisecond);

// Settings one second apart, filling the largest program file (1 MiB).
void BM_LoadLargestProgram(benchmark::State& state) {
    load(state, programOf("+1s Volume=%d\n", 0));
}
BENCHMARK(BM_LoadLargestProgram)->Unit(benchmark::kMillisecond);

// Every change of an hour's glide, as a render sends them: one every 10 ms.
void BM_HourOfAutomation(benchmark::State& state) {
    tools::ProgramScript script;
    std::string error;
    tools::ProgramScript::parse("00:00 Binaural = 10\n00:00 Binaural = 2 over 1h exp\n",
                                "bench.txt", script, error);
    std::optional<tools::Automation> automation =
        tools::Automation::build(bundle(), {}, script, 48000.0, error);
    if (!automation) {
        state.SkipWithError(error.c_str());
        return;
    }
    std::int64_t changes = 0;
    for (auto _ : state) {
        double sum = 0.0;
        for (tools::ChangeCursor cursor(*automation); cursor.frame() >= 0; cursor.advance()) {
            sum += cursor.change().setting.normalized;
            ++changes;
        }
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(changes);
}
BENCHMARK(BM_HourOfAutomation)->Unit(benchmark::kMillisecond);

} // namespace
