#include "bench/gui/SilentHostEffect.h"
#include "gui/IGraphics.h"
#include "gui/IKnobRotVal.h"
#include "gui/ISlider.h"
#include "gui/ITextControl.h"
#include "gui/PromptPopup.h"
#include "raster/Raster.h"
#include "raster/Shapes.h"

#include <benchmark/benchmark.h>

#include <memory>

namespace {

// A "Binaural"-like double, a twelve-way choice and an integer; host operations do nothing.
class BenchEffect : public SilentHostEffect {
public:
    BenchEffect() : SilentHostEffect(NamedConfig(3)) {
        ParamAt(0)->DefineDouble("Binaural", 7.83, 0.0, 100.0, 0.01, "Hz");
        IParamModel* choice = ParamAt(1);
        choice->DefineEnum("Choice", 11, 12, "");
        for (int i = 0; i < 12; ++i) choice->AddDisplayText(i, "Choice text");
        ParamAt(2)->DefineInt("Tones", 8, 1, 16, "");
    }
};

struct Editor {
    BenchEffect plug;
    IGraphics graphics{plug, 600, 475};
    raster::Raster knob{92, 92};
    raster::Raster handle{16, 16};

    Editor() {
        graphics.PrepareDraw();
        knob.Clear(raster::PackArgb(255, 40, 60, 90));
        raster::FillRect(knob, {44, 4, 48, 46}, raster::PackArgb(255, 240, 240, 240));
        handle.Clear(raster::PackArgb(255, 200, 200, 210));
    }
    IControl& Add(std::unique_ptr<IControl> control) {
        IControl& added = *control;
        graphics.AddControl(std::move(control));
        return added;
    }
    void Paint(const IControl& control) { graphics.DrawDirty(control.Rect()); }
};

const ITextStyle kLabel("Arial", 12, {255, 255, 255, 255});

// One knob of the layout's largest size, turned and hovered.
void BM_KnobDraw(benchmark::State& state) {
    Editor editor;
    IControl& knob = editor.Add(std::make_unique<IKnobRotVal>(
        editor.plug, 0, 300, 242, IBitmapRef{&editor.knob, 92, 92, 1, 0}, kLabel,
        IKnobRotValSettings{.labelGap = 2, .gearing = 4.0, .hoverAmount = 0.1f}));
    knob.SetValue(0.3);
    knob.MouseOver(300, 242, {});
    for (auto _ : state) editor.Paint(knob);
}
BENCHMARK(BM_KnobDraw);

void BM_SliderDraw(benchmark::State& state) {
    Editor editor;
    IControl& slider = editor.Add(std::make_unique<ISlider>(
        editor.plug, 2, IBox{29, 135, 45, 193}, IBitmapRef{&editor.handle, 16, 16, 1, 0},
        ITextStyle("Arial", 0, {}), ISliderBar{{255, 66, 110, 170}, 2, 1, true}, 58,
        IAxis::Vertical, 0.2f));
    for (auto _ : state) editor.Paint(slider);
}
BENCHMARK(BM_SliderDraw);

// A status text written by another thread and painted on the next tick.
void BM_StatusTextSetAndDraw(benchmark::State& state) {
    Editor editor;
    auto& status = static_cast<ITextControl&>(editor.Add(std::make_unique<ITextControl>(
        editor.plug, IBox{200, 58, 400, 76}, ITextStyle("Arial", 14, {160, 255, 255, 255}))));
    bool flip = false;
    for (auto _ : state) {
        status.SetText((flip = !flip) ? "Binaural: 7.83Hz" : "Binaural: 7.84Hz");
        editor.Paint(status);
    }
}
BENCHMARK(BM_StatusTextSetAndDraw);

// An open twelve-item list with its scroll bar.
void BM_PopupDraw(benchmark::State& state) {
    Editor editor;
    auto popup =
        std::make_unique<PromptPopup>(editor.plug, 100, 100, 70, 1, editor.graphics.PopupStyle());
    for (int i = 0; i < 12; ++i) popup->AddItem("Choice text");
    popup->OpenFor(1, nullptr);
    IControl& list = editor.Add(std::move(popup));
    for (auto _ : state) editor.Paint(list);
}
BENCHMARK(BM_PopupDraw);

} // namespace
BENCHMARK_MAIN();
