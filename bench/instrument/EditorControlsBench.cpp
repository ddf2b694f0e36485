#include "engine/ParamIds.h"
#include "gui/IGraphics.h"
#include "instrument/CLS_SERIVANE.h"
#include "instrument/GPHLFO.h"
#include "instrument/GRAPH.h"

#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

namespace {

constexpr IBox kSweepBox{274, 92, 320, 138};
constexpr IBox kGraphsBox{13, 294, 589, 442};

struct ReleaseInstance {
    void operator()(CLS_SERIVANE* p) const { p->release(); }
};

// The instrument with 16 tones a few seconds into its sweep, the editor open with both graphs
// and the sweep indicator over the background picture.
struct Editor {
    std::unique_ptr<CLS_SERIVANE, ReleaseInstance> plugin{new CLS_SERIVANE()};
    IGraphics* graphics = nullptr;
    GRAPH* freq = nullptr;
    GRAPH* volume = nullptr;

    Editor() {
        CLS_SERIVANE& p = *plugin;
        p.SetSampleRate(48000);
        for (int i = 0; i < kNumParams; ++i) p.OnParamChanged(i);
        Set(kTones, 16);
        Set(kPlayAnyway, 1);
        Set(kRate, 10);
        Render(400);
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
    void Set(int index, double value) {
        plugin->ParamAt(index)->SetClamped(value);
        plugin->OnParamChanged(index);
    }
    // Moves the tones on between two measured passes.
    void Advance(benchmark::State& state) {
        state.PauseTiming();
        Render(1);
        state.ResumeTiming();
    }
    void Render(int blocks) {
        std::vector<double> left(512), right(512);
        double* outputs[2] = {left.data(), right.data()};
        for (int i = 0; i < blocks; ++i) plugin->RenderBlock(nullptr, outputs, 512);
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
    EnvelopeGraphModel& model = editor.plugin->Graph(EnvelopeKind::Volume);
    int direction = 1;
    for (auto _ : state) {
        {
            std::lock_guard lock(editor.plugin->Mutex());
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
