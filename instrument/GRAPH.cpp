#include "instrument/GRAPH.h"

#include "gui/IGraphics.h"
#include "gui/IPlatformWindow.h"
#include "instrument/CLS_SERIVANE.h"

#include <mutex>

namespace {

constexpr int kPresetMarkResource = 106;
constexpr IArgb kToneDotColour{255, 0, 100, 230};
constexpr float kToneDotRadius = 3.0f;

} // namespace

GRAPH::GRAPH(CLS_SERIVANE& owner, EnvelopeKind kind)
    : IControl(owner, owner.Graph(kind).Box()), owner_(owner), model_(owner.Graph(kind)),
      layer_(owner, owner.Graph(kind).Box()) {}

bool GRAPH::Hover(int x, int y) {
    hoveredPreset_ = -1;
    {
        std::lock_guard lock(Plug().Mutex());
        hovered_ = model_.ElementAt(x, y);
    }
    if (hovered_ >= 0 || !model_.InPresetColumn(x)) return false;
    hoveredPreset_ = model_.PresetAt(y);
    return true;
}

void GRAPH::MouseOver(int x, int y, const IMouseState&) {
    const bool preset = Hover(x, y);
    const bool frequency = model_.Kind() == EnvelopeKind::Frequency;
    if (preset)
        owner_.ShowStatus(frequency ? "Freq envelope preset" : "Volume envelope preset");
    else
        owner_.ShowStatus(frequency ? "Change freq envelope point"
                                    : "Change volume envelope points");
}

void GRAPH::MouseOut() {
    hovered_ = -1;
    hoveredPreset_ = -1;
}

// The press point decides what is pressed, whether or not a hover reported it first.
void GRAPH::MouseDown(int x, int y, const IMouseState& mods) {
    IControl::MouseDown(x, y, mods);
    if (mods.right) return;
    Hover(x, y);
    dragged_ = hovered_;
    if (dragged_ >= 0) {
        SetCursor(dragged_ % 2 == 0 ? ICursor::ResizeVertical : ICursor::ResizeHorizontal);
        return;
    }
    if (hoveredPreset_ < 0) return;
    GraphParamWrites writes;
    {
        std::lock_guard lock(Plug().Mutex());
        writes = model_.ApplyPreset(hoveredPreset_);
    }
    hoveredPreset_ = -1;
    for (const GraphParamWrite& write : writes) {
        Plug().BeginParamEdit(write.index);
        owner_.WriteGraphParam(write.index, write.value);
        Plug().EndParamEdit(write.index);
    }
}

void GRAPH::MouseDrag(int, int, int dx, int dy, const IMouseState&) {
    if (dragged_ < 0) return;
    const int k = dragged_ / 2;
    GraphParamWrites writes;
    {
        std::lock_guard lock(Plug().Mutex());
        writes = dragged_ % 2 == 1 ? model_.DragInnerPoint(k, dx) : model_.DragCurvature(k, dy);
    }
    Store(writes);
}

void GRAPH::MouseUp(int, int, const IMouseState&) {
    dragged_ = -1;
    EndGesture();
    SetCursor(ICursor::Arrow);
}

// A drag is one edit gesture for the host, from its first change to the release.
void GRAPH::Store(const GraphParamWrites& writes) {
    for (const GraphParamWrite& write : writes) {
        if (write.index != gestureParam_) {
            EndGesture();
            Plug().BeginParamEdit(write.index);
            gestureParam_ = write.index;
        }
        owner_.WriteGraphParam(write.index, write.value);
    }
}

void GRAPH::EndGesture() {
    if (gestureParam_ < 0) return;
    Plug().EndParamEdit(gestureParam_);
    gestureParam_ = -1;
}

void GRAPH::SetCursor(ICursor cursor) const {
    IPlatformWindow* window = Graphics() ? Graphics()->Window() : nullptr;
    if (window) window->SetCursor(cursor);
}

// Each tone's dot sits where the curve first reaches the tone's place, searched in the segment
// its envelope is in. "Real Freq" places a tone by its sounding frequency within the span of
// all tones instead.
void GRAPH::CaptureDots() {
    dotCount_ = 0;
    const EnvelopeKind kind = model_.Kind();
    const bool realFrequency =
        kind == EnvelopeKind::Frequency && model_.Display() == FreqGraphDisplay::RealFrequency;
    double lowest = 0.0;
    double span = 0.0;
    if (realFrequency && tones_.count > 0) {
        lowest = tones_.tones[0].rate.low;
        span = tones_.tones[static_cast<size_t>(tones_.count - 1)].rate.high - lowest;
    }
    for (int t = 0; t < tones_.count; ++t) {
        const EnvelopePlace& place = tones_.Place(t, kind);
        double value = place.value;
        if (span != 0.0) value = (tones_.tones[static_cast<size_t>(t)].rate.value - lowest) / span;
        const int column = model_.ColumnReaching(value, place.segment, place.rising);
        if (column < 0) continue;
        dots_[static_cast<size_t>(dotCount_++)] = {static_cast<float>(model_.plotLeft + column),
                                                   model_.ScreenY(value)};
    }
}

bool GRAPH::Draw(IGraphics& graphics) {
    {
        std::lock_guard lock(Plug().Mutex());
        owner_.RefreshGraph(model_.Kind());
        owner_.ReadTonePlaces(tones_);
        picture_.Capture(model_, hovered_, tones_);
        CaptureDots();
    }
    if (!presetMark_.raster)
        presetMark_ = graphics.LoadBitmap(kPresetMarkResource, "img/preset.png", 1);
    if (!layerDrawn_ || !(picture_ == drawn_) || layer_.Scale() != graphics.Scale()) {
        layer_.Render(picture_, model_, graphics.Scale());
        drawn_ = picture_;
        layerDrawn_ = true;
    }
    graphics.DrawBitmap(layer_.Bitmap(), Rect(), 0, 0, nullptr);
    for (int i = 0; i < dotCount_; ++i) {
        const Dot& dot = dots_[static_cast<size_t>(i)];
        graphics.FillCircle(kToneDotColour, dot.x, dot.y, kToneDotRadius, nullptr, true);
    }
    // Above the dots, so the handles can be seen and grabbed with many tones.
    DrawGraphHandles(graphics, picture_);
    if (hoveredPreset_ >= 0) {
        // The mark sits over the button's face, 3 pixels in from its left edge.
        const IBox& box = Rect();
        const int left = box.right - EnvelopeGraphModel::kPresetSize + 3;
        const int top = box.top + EnvelopeGraphModel::kPresetSize * hoveredPreset_;
        graphics.DrawBitmap(presetMark_,
                            {left, top, left + presetMark_.width, top + presetMark_.height}, 0, 0,
                            nullptr);
    }
    return true;
}
