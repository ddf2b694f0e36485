#include "gui/ISliderImg.h"

#include "framework/IEffectBase.h"
#include "gui/IGraphics.h"

namespace {

IBox Track(const IBox& rect, const IBitmapRef& handle, int trackLength, IAxis axis) {
    const double centre = (rect.left + rect.right) * 0.5;
    if (axis == IAxis::Horizontal)
        return {RoundHalfAway(centre - trackLength / 2), rect.top,
                RoundHalfAway(centre + trackLength / 2), rect.top + handle.height};
    return {RoundHalfAway(centre - handle.width * 0.5), rect.top,
            RoundHalfAway(centre + handle.width * 0.5), rect.top + trackLength};
}

} // namespace

ISliderImg::ISliderImg(IEffectBase& plug, int paramIndex, const IBox& rect,
                       const IBitmapRef& handle, const ITextStyle& labelStyle, int trackLength,
                       IAxis axis, float hoverAmount)
    : IControl(plug, rect, paramIndex), labelStyle_(labelStyle),
      trackRect_(Track(rect, handle, trackLength, axis)), handle_(handle),
      travel_(trackLength - (axis == IAxis::Horizontal ? handle.width : handle.height)),
      axis_(axis), hoverAmount_(hoverAmount) {}

void ISliderImg::MouseDown(int x, int y, const IMouseState& mods) {
    if (mods.right) {
        IControl::MouseDown(x, y, mods);
        return;
    }
    ConsumePopupClosedMark(*this);
    if (!trackRect_.Contains(x, y)) return;
    hover_.Clear();
    dragging_ = true;
    SetFromPosition(x, y);
}

void ISliderImg::MouseDrag(int x, int y, int, int, const IMouseState&) {
    if (dragging_) SetFromPosition(x, y);
}

void ISliderImg::MouseUp(int, int, const IMouseState&) {
    dragging_ = false;
}

void ISliderImg::MouseOver(int, int, const IMouseState&) {
    hover_.Over(*this);
}

void ISliderImg::MouseOut() {
    hover_.Out(*this);
}

// The handle's centre goes to the pointer.
void ISliderImg::SetFromPosition(int x, int y) {
    // A track no longer than the handle leaves nothing to choose.
    if (travel_ <= 0) return;
    if (axis_ == IAxis::Vertical)
        SetValue(1.0 - (y - trackRect_.top - handle_.height * 0.5) / travel_);
    else
        SetValue((x - trackRect_.left - handle_.width * 0.5) / travel_);
    MarkDirty(true);
}

bool ISliderImg::Draw(IGraphics& graphics) {
    DrawValueLabel(graphics, *this, labelStyle_, true, LabelBand(Rect(), labelStyle_.size));
    const IParamModel* param = Plug().ParamAt(ParamIndex());
    const double shown = param ? param->NormalizedValue() : Value();
    IBox handleRect;
    if (axis_ == IAxis::Vertical) {
        const int top = RoundHalfAway(travel_ * (1.0 - shown) + trackRect_.top);
        handleRect = {trackRect_.left, top, trackRect_.right, top + handle_.height};
    } else {
        const double left = travel_ * shown + trackRect_.left;
        handleRect = {RoundHalfAway(left), trackRect_.top, RoundHalfAway(left + handle_.width),
                      Rect().bottom};
    }
    IBlendSpec blend = Blend();
    if (graphics.HandleMouseOver() && !hover_.On())
        blend = IBlendSpec{IBlendMode::Alpha, 1.0f - hoverAmount_};
    return graphics.DrawBitmapFrame(handle_, handleRect, 1, &blend, true);
}
