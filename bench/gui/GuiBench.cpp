#include "bench/gui/SilentHostEffect.h"
#include "gui/IGraphics.h"
#include "tests/gui/editor/TestEditor.h"

#include <benchmark/benchmark.h>

#include <string>

namespace {

constexpr int kParams = 20;

// A plug-in with twenty parameters of every kind, host operations doing nothing.
class BenchEffect : public SilentHostEffect {
public:
    BenchEffect() : SilentHostEffect(NamedConfig(kParams)) {
        for (int i = 0; i < kParams; ++i) {
            const std::string name = std::string("Param ").append(std::to_string(i));
            IParamModel* param = ParamAt(i);
            if (i % 5 == 4) {
                param->DefineEnum(name.c_str(), 0, 3, "");
                for (const char* text : {"Low", "Mid", "High"})
                    param->AddDisplayText(param->DisplayTextCount(), text);
            } else {
                param->DefineDouble(name.c_str(), 0.3 + 0.02 * i, 0.0, 1.0, 0.01, "Hz");
            }
        }
    }
};

// Background, the text field and nineteen bound controls: twenty controls over a background.
IGraphics& OpenEditor(BenchEffect& plug) {
    TestEditorLayout layout;
    layout.maxControls = kParams - 1;
    plug.AttachEditor(MakeTestEditor(plug, layout));
    auto& graphics = static_cast<IGraphics&>(*plug.Editor());
    graphics.OnTimerTick();
    return graphics;
}

void BM_FullRepaint(benchmark::State& state) {
    BenchEffect plug;
    IGraphics& graphics = OpenEditor(plug);
    for (auto _ : state) {
        graphics.RedrawAll();
        graphics.OnTimerTick();
    }
}
BENCHMARK(BM_FullRepaint)->Unit(benchmark::kMicrosecond);

void BM_IdleTick(benchmark::State& state) {
    BenchEffect plug;
    IGraphics& graphics = OpenEditor(plug);
    graphics.OnTimerTick();
    for (auto _ : state) graphics.OnTimerTick();
}
BENCHMARK(BM_IdleTick)->Unit(benchmark::kNanosecond);

} // namespace

BENCHMARK_MAIN();
