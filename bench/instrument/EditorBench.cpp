#include "SweepingInstrument.h"
#include "gui/IGraphics.h"

#include <benchmark/benchmark.h>

namespace {

// The instrument's complete editor, open, with 16 tones a few seconds into their sweep.
struct CompleteEditor : SweepingInstrument {
    IGraphics& graphics = *dynamic_cast<IGraphics*>(Plugin().Editor());

    CompleteEditor() {
        Plugin().OnEditorOpen();
        graphics.RedrawAll();
        graphics.OnTimerTick();
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
