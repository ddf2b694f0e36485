#include "engine/ParamIds.h"
#include "gui/IGraphics.h"
#include "instrument/CLS_SERIVANE.h"

#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

namespace {

struct ReleaseInstance {
    void operator()(CLS_SERIVANE* p) const { p->release(); }
};

// The instrument's complete editor, open, with 16 tones a few seconds into their sweep.
struct CompleteEditor {
    std::unique_ptr<CLS_SERIVANE, ReleaseInstance> plugin{new CLS_SERIVANE()};
    IGraphics& graphics = *dynamic_cast<IGraphics*>(plugin->Editor());

    CompleteEditor() {
        CLS_SERIVANE& p = *plugin;
        p.SetSampleRate(48000);
        for (int i = 0; i < kNumParams; ++i) p.OnParamChanged(i);
        Set(kTones, 16);
        Set(kPlayAnyway, 1);
        Set(kRate, 10);
        Render(400);
        p.OnEditorOpen();
        graphics.RedrawAll();
        graphics.OnTimerTick();
    }
    void Set(int index, double value) {
        plugin->ParamAt(index)->SetClamped(value);
        plugin->OnParamChanged(index);
    }
    void Render(int blocks) {
        std::vector<double> left(512), right(512);
        double* outputs[2] = {left.data(), right.data()};
        for (int i = 0; i < blocks; ++i) plugin->RenderBlock(nullptr, outputs, 512);
    }
};

// Every control of the editor painted over the background, as when the window opens.
void BM_EditorFullRepaint(benchmark::State& state) {
    CompleteEditor editor;
    const IBox whole{0, 0, editor.graphics.Width(), editor.graphics.Height()};
    for (auto _ : state) editor.graphics.DrawDirty(whole);
}
BENCHMARK(BM_EditorFullRepaint)->Unit(benchmark::kMicrosecond);

// One timer tick while audio plays: both graphs with their moving tone dots, the sweep
// indicator, and a new text on the status line.
void BM_EditorTimerTick(benchmark::State& state) {
    CompleteEditor editor;
    bool wide = false;
    for (auto _ : state) {
        state.PauseTiming();
        editor.Render(1);
        editor.Set(kSpread, (wide = !wide) ? 60 : 40);
        state.ResumeTiming();
        editor.graphics.OnTimerTick();
    }
}
BENCHMARK(BM_EditorTimerTick)->Unit(benchmark::kMicrosecond);

} // namespace
