#include "gui/IKnobRotVal.h"

#include "framework/IParamModel.h"
#include "gui/IGraphics.h"

#include <cmath>
#include <numbers>

namespace {

IBox KnobRect(int centreX, int centreY, const IBitmapRef& bitmap, int labelSize,
              const IKnobRotValSettings& settings) {
    const int halfHeight = RoundHalfAway(bitmap.height * 0.5);
    const int frames = bitmap.frames > 0 ? bitmap.frames : 1;
    const int halfWidth = settings.width != 0
                              ? settings.width / 2
                              : RoundHalfAway(static_cast<double>(bitmap.width) / frames * 0.5);
    int bottom = centreY + halfHeight;
    if (settings.labelGap >= 0) bottom += labelSize + settings.labelGap;
    return {centreX - halfWidth, centreY - halfHeight, centreX + halfWidth, bottom};
}

} // namespace

IKnobRotVal::IKnobRotVal(IEffectBase& plug, int paramIndex, int centreX, int centreY,
                         const IBitmapRef& bitmap, const ITextStyle& labelStyle,
                         const IKnobRotValSettings& settings)
    : IKnobControl(plug, KnobRect(centreX, centreY, bitmap, labelStyle.size, settings), paramIndex),
      drag_(settings.drag), gearing_(settings.gearing > 0.0 ? settings.gearing : 1.0),
      labelStyle_(labelStyle), bitmap_(bitmap), centreX_(centreX), centreY_(centreY),
      labelGap_(settings.labelGap), sweepDegrees_(settings.sweepDegrees),
      steps_(settings.stepCount - 1), hoverAmount_(settings.hoverAmount),
      showUnit_(settings.showUnit) {}

void IKnobRotVal::MouseDrag(int, int, int dx, int dy, const IMouseState& mods) {
    const double gearing = mods.ctrl || mods.shift ? gearing_ * 10.0 : gearing_;
    const IBox& r = Rect();
    if (drag_ == IAxis::Horizontal)
        SetValue(Value() + dx / static_cast<double>(r.right - r.left) / gearing);
    else
        SetValue(Value() + dy / static_cast<double>(r.top - r.bottom) / gearing);
    MarkDirty(true);
}

void IKnobRotVal::MouseUp(int, int, const IMouseState&) {
    if (steps_ > 0) SetValue(std::floor(steps_ * Value() + 0.5) / steps_);
    MarkDirty(true);
}

void IKnobRotVal::MouseOver(int, int, const IMouseState&) {
    hover_.Over(*this);
}

void IKnobRotVal::MouseOut() {
    hover_.Out(*this);
}

bool IKnobRotVal::Draw(IGraphics& graphics) {
    IBlendSpec blend;
    if (hover_.On()) blend.weight = hoverAmount_ > 0.0f ? 1.0f - hoverAmount_ : -hoverAmount_;

    const IBox& r = Rect();
    IBox band = LabelBand(r, labelStyle_.size);
    if (labelGap_ < 0) {
        band.top += labelGap_;
        band.bottom += labelGap_;
    }
    DrawValueLabel(graphics, *this, labelStyle_, showUnit_, band);

    const double value = Value();
    const double halfSweep = static_cast<float>(sweepDegrees_ * std::numbers::pi / 360.0);
    const double start = static_cast<float>(-sweepDegrees_ * std::numbers::pi / 360.0);
    const double angle = halfSweep * (2.0 * value) + start;
    const double offset = -static_cast<float>(2.0 * std::fabs(value - 0.5));

    IBitmapRef rotating = bitmap_;
    if (bitmap_.id < -1) {
        if (hover_.On() || hoverAmount_ > 0.0f) {
            const double halfWidth = bitmap_.width / 2.0;
            const IBox body{RoundHalfAway(centreX_ - halfWidth), r.top,
                            RoundHalfAway(centreX_ + halfWidth),
                            r.bottom - labelGap_ - labelStyle_.size};
            graphics.DrawBitmapFrame(bitmap_, body, 1, &blend, false);
            if (hover_.On()) blend = IBlendSpec{};
        }
        rotating = graphics.BitmapById(bitmap_.id);
    }
    graphics.DrawBitmapRotated(rotating, centreX_, centreY_, angle, &blend, offset, offset);
    return true;
}
