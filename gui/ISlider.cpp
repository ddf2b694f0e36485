#include "gui/ISlider.h"

#include "framework/IParamModel.h"
#include "gui/IGraphics.h"

#include <algorithm>

ISlider::ISlider(IEffectBase& plug, int paramIndex, const IBox& rect, const IBitmapRef& handle,
                 const ITextStyle& labelStyle, const ISliderBar& bar, int trackLength, IAxis axis,
                 float hoverAmount)
    : ISliderImg(plug, paramIndex, rect, handle, labelStyle, trackLength, axis, hoverAmount),
      bar_(bar) {}

bool ISlider::BarRect(IBox* out) const {
    const IBox& track = TrackRect();
    const double travel = Travel();
    const double halfW = Handle().width / 2.0;
    const double halfH = Handle().height / 2.0;
    const double halfThickness = bar_.thickness / 2.0;
    const double v = Value();
    if (Axis() == IAxis::Vertical) {
        const double mid = (track.left + track.right) * 0.5;
        const double d = travel * (1.0 - v);
        if (!(travel + halfH - bar_.inset > d)) return false;
        *out = {RoundHalfAway(mid - halfThickness), RoundHalfAway(d + track.top + halfH),
                RoundHalfAway(mid + halfThickness),
                track.top + Travel() + Handle().height - bar_.inset};
        return true;
    }
    const double mid = (track.top + track.bottom) * 0.5;
    const int top = RoundHalfAway(mid - halfThickness);
    const int bottom = RoundHalfAway(mid + halfThickness);
    if (bar_.centred) {
        *out = {RoundHalfAway(travel * std::min(v, 0.5) + track.left + halfW), top,
                RoundHalfAway(travel * std::max(v, 0.5) + track.left + halfW), bottom};
        return true;
    }
    const double reach = travel * v;
    if (!(reach + halfW > bar_.inset)) return false;
    *out = {bar_.inset + track.left, top, RoundHalfAway(track.left + reach + halfW), bottom};
    return true;
}

bool ISlider::Draw(IGraphics& graphics) {
    if (IBox bar; BarRect(&bar)) graphics.FillRect(bar_.colour, bar, nullptr);
    return ISliderImg::Draw(graphics);
}
