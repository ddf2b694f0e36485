#include "tests/gui/editor/TestControls.h"

#include "framework/IEffectBase.h"
#include "gui/IGraphics.h"
#include "gui/IPlatformWindow.h"

#include <cmath>
#include <numbers>

namespace {

constexpr IArgb kPanel{255, 38, 44, 62};
constexpr IArgb kPanelHover{255, 52, 60, 84};
constexpr IArgb kTrack{255, 20, 24, 34};
constexpr IArgb kFill{255, 66, 110, 170};
constexpr IArgb kPointer{255, 235, 235, 240};

ITextStyle Style(int size, IArgb colour, ITextAlign align) {
    return ITextStyle("Arial", size, colour, 0, align);
}

// Blend for a control's own drawing: its mode and weight, the weight lowered when grayed.
IBlendSpec Weighted(const IControl& control, float weight = 1.0f) {
    IBlendSpec blend = control.Blend();
    blend.mode = IBlendMode::Alpha;
    blend.weight *= weight;
    return blend;
}

} // namespace

TestBackground::TestBackground(IEffectBase& plug, const IBox& rect)
    : IControl(plug, rect, -1, IBlendMode::Copy) {}

bool TestBackground::Draw(IGraphics& graphics) {
    constexpr int kBands = 24;
    const IBox& r = Rect();
    for (int band = 0; band < kBands; ++band) {
        const int top = r.top + r.H() * band / kBands;
        const int bottom = r.top + r.H() * (band + 1) / kBands;
        const IArgb colour{255, 14 + band / 2, 20 + band, 42 + band * 2};
        graphics.FillRect(colour, {r.left, top, r.right, bottom}, &Blend());
    }
    return true;
}

TestBoundControl::TestBoundControl(IEffectBase& plug, const IBox& rect, int paramIndex)
    : IControl(plug, rect, paramIndex),
      nameStyle_(Style(11, {180, 255, 255, 255}, ITextAlign::Centre)),
      valueStyle_(Style(12, {255, 255, 255, 255}, ITextAlign::Centre)) {}

void TestBoundControl::MouseOver(int, int, const IMouseState&) {
    if (hovered_) return;
    hovered_ = true;
    MarkDirty(false);
}

void TestBoundControl::MouseOut() {
    hovered_ = false;
    MarkDirty(false);
}

IBox TestBoundControl::Body() const {
    const IBox& r = Rect();
    return {r.left, r.top, r.right, r.bottom - kCaptionHeight};
}

void TestBoundControl::DrawCaption(IGraphics& graphics) {
    const IParamModel* param = Plug().ParamAt(ParamIndex());
    if (!param) return;
    const IBox& r = Rect();
    const int middle = r.bottom - kCaptionHeight / 2;
    graphics.DrawText(nameStyle_, param->Name(), {r.left, middle - 14, r.right, middle});
    const std::string value = param->FormatValue(param->Value(), false);
    graphics.DrawText(valueStyle_, value.c_str(), {r.left, middle, r.right, r.bottom});
}

TestFader::TestFader(IEffectBase& plug, const IBox& rect, int paramIndex)
    : TestBoundControl(plug, rect, paramIndex) {}

IBox TestFader::Track() const {
    const IBox body = Body();
    const int middle = (body.left + body.right) / 2;
    return {middle - 6, body.top + 6, middle + 6, body.bottom - 6};
}

void TestFader::MouseDown(int x, int y, const IMouseState& mods) {
    if (mods.right) {
        IControl::MouseDown(x, y, mods);
        return;
    }
    const IBox track = Track();
    SetValue(1.0 - static_cast<double>(y - track.top) / track.H());
    MarkDirty(true);
}

void TestFader::MouseDrag(int, int, int, int dy, const IMouseState&) {
    SetValue(Value() - static_cast<double>(dy) / Track().H());
    MarkDirty(true);
}

bool TestFader::Draw(IGraphics& graphics) {
    const IBlendSpec blend = Weighted(*this);
    graphics.FillRoundedBox(Hovered() ? kPanelHover : kPanel, Rect(), 6, 4, &blend, true);
    const IBox track = Track();
    graphics.FillRect(kTrack, track, &blend);
    const int top = track.bottom - static_cast<int>(std::lround(track.H() * Value()));
    graphics.FillRect(kFill, {track.left, top, track.right, track.bottom}, &blend);
    graphics.FillRect(kPointer, {track.left - 8, top - 2, track.right + 8, top + 2}, &blend);
    DrawCaption(graphics);
    return true;
}

TestKnob::TestKnob(IEffectBase& plug, const IBox& rect, int paramIndex)
    : TestBoundControl(plug, rect, paramIndex) {}

void TestKnob::MouseDrag(int, int, int, int dy, const IMouseState& mods) {
    const double range = mods.shift || mods.ctrl ? 1000.0 : 100.0;
    SetValue(Value() - dy / range);
    MarkDirty(true);
}

bool TestKnob::Draw(IGraphics& graphics) {
    const IBlendSpec blend = Weighted(*this);
    graphics.FillRoundedBox(Hovered() ? kPanelHover : kPanel, Rect(), 6, 4, &blend, true);
    const IBox body = Body();
    const float cx = (body.left + body.right) * 0.5f;
    const float cy = (body.top + body.bottom) * 0.5f;
    const float radius = std::min(body.W(), body.H()) * 0.5f - 8.0f;
    graphics.FillCircle(kTrack, cx, cy, radius, &blend, true);
    graphics.DrawCircle(kFill, cx, cy, radius, &blend, true);
    const double angle = (Value() - 0.5) * 1.5 * std::numbers::pi;
    const float px = cx + static_cast<float>(std::sin(angle)) * (radius - 3.0f);
    const float py = cy - static_cast<float>(std::cos(angle)) * (radius - 3.0f);
    graphics.DrawThickLine(kPointer, cx, cy, px, py, 2.0f, &blend, true);
    DrawCaption(graphics);
    return true;
}

TestSwitch::TestSwitch(IEffectBase& plug, const IBox& rect, int paramIndex)
    : TestBoundControl(plug, rect, paramIndex) {}

void TestSwitch::MouseDown(int x, int y, const IMouseState& mods) {
    const IParamModel* param = Plug().ParamAt(ParamIndex());
    if (mods.right || !param) {
        IControl::MouseDown(x, y, mods);
        return;
    }
    const double span = param->Max() - param->Min();
    const double step = span > 0.0 ? 1.0 / span : 1.0;
    const double next = Value() + step;
    SetValue(next > 1.0 + step * 0.5 ? 0.0 : next);
    MarkDirty(true);
}

bool TestSwitch::Draw(IGraphics& graphics) {
    const IBlendSpec blend = Weighted(*this);
    graphics.FillRoundedBox(Hovered() ? kPanelHover : kPanel, Rect(), 6, 4, &blend, true);
    const IBox body = Body();
    const IBox lamp{body.left + 14, body.top + 14, body.right - 14, body.bottom - 8};
    const IBlendSpec lit = Weighted(*this, 0.25f + 0.75f * static_cast<float>(Value()));
    graphics.FillRoundedBox(kFill, lamp, 4, 4, &lit, true);
    graphics.OutlineRoundedBox(kPointer, lamp, 4, &blend, true);
    DrawCaption(graphics);
    return true;
}

TestTextField::TestTextField(IEffectBase& plug, const IBox& rect, const char* text)
    : IControl(plug, rect), text_(text), style_(Style(13, {255, 255, 255, 255}, ITextAlign::Left)) {
}

void TestTextField::MouseDown(int x, int y, const IMouseState& mods) {
    IControl::MouseDown(x, y, mods);
    if (mods.right || NoPrompt()) return;
    if (IPlatformWindow* window = Graphics() ? Graphics()->Window() : nullptr)
        window->PromptTextInput(*this, *this);
    SetRedrawPending();
}

bool TestTextField::Draw(IGraphics& graphics) {
    const IBlendSpec blend = Weighted(*this);
    graphics.FillRect(kTrack, Rect(), &blend);
    const IBox& r = Rect();
    graphics.DrawText(style_, text_.c_str(), {r.left + 6, r.top, r.right - 6, r.bottom});
    return true;
}

void TestTextField::SetText(const char* text) {
    if (text_ == text) return;
    MarkDirty(false);
    text_ = text;
}
