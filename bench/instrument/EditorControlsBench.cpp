#include "SweepingInstrument.h"
#include "gui/IGraphics.h"
#include "instrument/GPHLFO.h"
#include "instrument/GRAPH.h"

#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

namespace {

constexpr IBox kSweepBox{274, 92, 320, 138};
constexpr IBox kGraphsBox{13, 294, 589, 442};

// The instrument with 16 tones a few seconds into its sweep, the editor open with both graphs
// and the sweep indicator over the background picture.
struct Editor : SweepingInstrument {
    IGraphics* graphics = nullptr;
    GRAPH* freq = nullptr;
    GRAPH* volume = nullptr;

    Editor() {
        CLS_SERIVANE& p = Plugin();
        auto editor = std::make_unique<IGraphics>(p, 600, 475);
        editor->AddBackground(100, "img/bg.png");
        auto freqGraph = std::make_unique<GRAPH>(p, EnvelopeKind::Frequency);
        auto volumeGraph = std::make_unique<GRAPH>(p, EnvelopeKind::Volume);
        freq = freqGraph.get();
        volume = volumeGraph.get();
        editor->AddControl(std::move(freqGraph));
        editor->AddControl(std::move(volumeGraph));
        editor->AddControl(std::make_unique<GPHLFO>(p, kSweepBox));
        editor->SetAlwaysRedrawRect(kGraphsBox);
        graphics = editor.get();
        p.AttachEditor(std::move(editor));
        p.OnEditorOpen();
        graphics->OnTimerTick();
    }
    // Moves the tones on between two measured passes.
    void Advance(benchmark::State& state) {
        state.PauseTiming();
        Render(1);
        state.ResumeTiming();
    }
};

// One graph's drawing pass with 16 moving tone dots over its cached curve.
void BM_GraphDraw(benchmark::State& state) {
    Editor editor;
    GRAPH& graph = state.range(0) ? *editor.freq : *editor.volume;
    for (auto _ : state) {
        editor.Advance(state);
        graph.Draw(*editor.graphics);
    }
}
BENCHMARK(BM_GraphDraw)->Arg(1)->Arg(0)->Unit(benchmark::kMicrosecond);

// A graph's drawing pass while its handle is dragged: curve recomputed, pushed into the 16 tone
// envelopes and its still layer drawn anew.
void BM_GraphDrawWhileDragging(benchmark::State& state) {
    Editor editor;
    EnvelopeGraphModel& model = editor.Plugin().Graph(EnvelopeKind::Volume);
    int direction = 1;
    for (auto _ : state) {
        {
            std::lock_guard lock(editor.Plugin().Mutex());
            if (model.DragCurvature(1, direction).count == 0) direction = -direction;
        }
        editor.volume->Draw(*editor.graphics);
    }
}
BENCHMARK(BM_GraphDrawWhileDragging)->Unit(benchmark::kMicrosecond);

// The sweep indicator's drawing pass with 16 dots.
void BM_SweepIndicatorDraw(benchmark::State& state) {
    Editor editor;
    IControl& sweep = *editor.graphics->ControlAtIndex(3);
    for (auto _ : state) {
        editor.Advance(state);
        sweep.Draw(*editor.graphics);
    }
}
BENCHMARK(BM_SweepIndicatorDraw)->Unit(benchmark::kMicrosecond);

// A timer tick of these controls: the background under both graphs and the indicator, then
// the three controls, as the editor repaints them on every tick.
void BM_GraphsAndSweepTick(benchmark::State& state) {
    Editor editor;
    for (auto _ : state) {
        editor.Advance(state);
        editor.graphics->OnTimerTick();
    }
}
BENCHMARK(BM_GraphsAndSweepTick)->Unit(benchmark::kMicrosecond);

} // namespace
