#include "instrument/GPHLFO.h"

#include "engine/ParamIds.h"
#include "gui/IGraphics.h"
#include "gui/IPlatformWindow.h"
#include "instrument/CLS_SERIVANE.h"
#include "resources/CursorHotspots.h"

#include <mutex>

namespace {

constexpr float kDotRadius = 2.0f;
constexpr IArgb kDotColour{255, 255, 255, 255};
constexpr float kDotWeight = 0.6f;
// Dots in the lowest fifth of the range fade out towards its end.
constexpr double kFadeZone = 0.2;

} // namespace

GPHLFO::GPHLFO(CLS_SERIVANE& owner, const IBox& box)
    : IControl(owner, box), owner_(owner), centreX_(static_cast<int>((box.left + box.right) * 0.5)),
      travel_(box.H() - 4) {}

IPlatformWindow* GPHLFO::Window() const {
    return Graphics() ? Graphics()->Window() : nullptr;
}

bool GPHLFO::ReadDescending() {
    std::lock_guard lock(Plug().Mutex());
    owner_.ReadTonePlaces(tones_);
    return tones_.lowHz >= tones_.highHz;
}

void GPHLFO::ShowCursor(int resourceId) {
    if (resourceId == cursor_) return;
    cursor_ = resourceId;
    if (IPlatformWindow* window = Window()) window->SetResourceCursor(resourceId);
}

void GPHLFO::ShowArrow() {
    cursor_ = 0;
    if (IPlatformWindow* window = Window()) window->SetCursor(ICursor::Arrow);
}

void GPHLFO::MouseDown(int x, int y, const IMouseState& mods) {
    IControl::MouseDown(x, y, mods);
    ShowArrow();
    swapRequested_ = true;
}

void GPHLFO::MouseOver(int, int, const IMouseState&) {
    const bool descending = ReadDescending();
    ShowCursor(descending ? kCursorAscend : kCursorDescend);
    owner_.ShowStatus(descending ? "Change to ascendent frequencies"
                                 : "Change to descendent frequencies");
}

void GPHLFO::MouseOut() {
    ShowArrow();
}

void GPHLFO::SwapRange() {
    IEffectBase& plug = Plug();
    IParamModel* low = plug.ParamAt(kLowFreq);
    IParamModel* high = plug.ParamAt(kHighFreq);
    plug.BeginParamEdit(kLowFreq);
    plug.BeginParamEdit(kHighFreq);
    {
        std::lock_guard lock(plug.Mutex());
        const double lowValue = low->Value();
        low->SetClamped(high->Value());
        high->SetClamped(lowValue);
        for (const int index : {kLowFreq, kHighFreq}) {
            plug.PerformParamEdit(index, plug.ParamAt(index)->NormalizedValue());
            plug.OnParamChanged(index);
        }
    }
    plug.EndParamEdit(kLowFreq);
    plug.EndParamEdit(kHighFreq);
    if (IGraphics* graphics = Graphics()) {
        graphics->ShowParamInControls(kLowFreq, low->Value(), false);
        graphics->ShowParamInControls(kHighFreq, high->Value(), false);
    }
}

bool GPHLFO::Draw(IGraphics& graphics) {
    if (swapRequested_) {
        swapRequested_ = false;
        SwapRange();
    }
    {
        std::lock_guard lock(Plug().Mutex());
        owner_.ReadTonePlaces(tones_);
    }
    const bool descending = tones_.lowHz >= tones_.highHz;
    const IBox& box = Rect();
    for (int i = 0; i < tones_.count; ++i) {
        const double value = tones_.Place(i, EnvelopeKind::Frequency).value;
        // 0 is the lower frequency whichever way the sweep runs.
        const double p = descending ? 1.0 - value : value;
        const IBlendSpec blend{
            IBlendMode::Alpha,
            static_cast<float>(p < kFadeZone ? kDotWeight * p * 5.0 : kDotWeight)};
        graphics.FillCircle(kDotColour, static_cast<float>(centreX_),
                            static_cast<float>(box.bottom - kDotRadius - travel_ * p), kDotRadius,
                            &blend, true);
    }
    return true;
}
