#include "gui/ISwitchLbl.h"

#include "framework/IParamModel.h"
#include "gui/IGraphics.h"

#include <algorithm>

namespace {

int Frames(const IBitmapRef& bitmap) {
    return bitmap.frames > 0 ? bitmap.frames : 1;
}

IBox SwitchRect(int x, int y, const IBitmapRef& bitmap, int labelSize, int labelGap, int width,
                bool sideBySide) {
    const int frames = Frames(bitmap);
    const int frameHeight =
        sideBySide ? bitmap.height : RoundHalfAway(static_cast<double>(bitmap.height) / frames);
    int right = x + width;
    if (width == 0)
        right = sideBySide ? x + RoundHalfAway(static_cast<double>(bitmap.width) / frames)
                           : x + bitmap.width;
    int bottom = y + frameHeight + labelGap;
    if (labelSize >= 0) bottom += labelSize;
    return {x, y, right, bottom};
}

} // namespace

ISwitchLbl::ISwitchLbl(IEffectBase& plug, int paramIndex, int x, int y, const IBitmapRef& bitmap,
                       const ITextStyle& labelStyle, int labelGap, int width, IBitmapLayout layout,
                       float hoverAmount)
    : IControl(plug,
               SwitchRect(x, y, bitmap, labelStyle.size, labelGap, width,
                          layout == IBitmapLayout::SideBySide),
               paramIndex),
      labelStyle_(labelStyle), bitmap_(bitmap), labelGap_(labelGap), width_(width),
      framesStacked_(layout != IBitmapLayout::SideBySide), hoverAmount_(hoverAmount) {}

void ISwitchLbl::MouseDown(int x, int y, const IMouseState& mods) {
    if (mods.right) {
        IControl::MouseDown(x, y, mods);
        return;
    }
    ConsumePopupClosedMark(*this);
    const int frames = Frames(bitmap_);
    double value = Value() + (frames < 2 ? 1.0 : 1.0 / (frames - 1));
    if (!(value <= 1.001)) value = 0.0;
    SetValue(value);
    MarkDirty(true);
}

void ISwitchLbl::MouseOver(int, int, const IMouseState&) {
    hover_.Over(*this);
}

void ISwitchLbl::MouseOut() {
    hover_.Out(*this);
}

bool ISwitchLbl::Draw(IGraphics& graphics) {
    DrawValueLabel(graphics, *this, labelStyle_, true, LabelBand(Rect(), labelStyle_.size));
    const int frames = Frames(bitmap_);
    int frame = 1;
    if (frames >= 2) frame = std::clamp(RoundHalfAway((frames - 1) * Value()) + 1, 1, frames);
    const int frameWidth =
        framesStacked_ ? bitmap_.width : RoundHalfAway(static_cast<double>(bitmap_.width) / frames);
    const int frameHeight = framesStacked_
                                ? RoundHalfAway(static_cast<double>(bitmap_.height) / frames)
                                : bitmap_.height;
    const IBox& r = Rect();
    int left = r.left;
    if (width_ != 0) left += RoundHalfAway((width_ - frameWidth) * 0.5);
    const IBox dest{left, r.top, left + frameWidth, r.top + frameHeight};
    const IBlendSpec blend =
        hover_.On() ? IBlendSpec{IBlendMode::Alpha, 1.0f - hoverAmount_} : Blend();
    return graphics.DrawBitmapFrame(bitmap_, dest, frame, &blend, framesStacked_);
}
