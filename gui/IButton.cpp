#include "gui/IButton.h"

#include "gui/IGraphics.h"

namespace {

IBox ButtonRect(int x, int y, const IBitmapRef& bitmap) {
    const int frames = bitmap.frames > 0 ? bitmap.frames : 1;
    return {x, y, x + bitmap.width, y + bitmap.height / frames};
}

} // namespace

IButton::IButton(IEffectBase& plug, int paramIndex, int x, int y, const IBitmapRef& bitmap,
                 float hoverAmount)
    : IControl(plug, ButtonRect(x, y, bitmap), paramIndex), bitmap_(bitmap),
      hoverAmount_(hoverAmount) {}

void IButton::MouseDown(int, int, const IMouseState& mods) {
    ConsumePopupClosedMark(*this);
    if (!mods.right) SetValue(Value() <= 0.5 ? 1.0 : 0.0);
    MarkDirty(true);
}

void IButton::MouseOver(int, int, const IMouseState&) {
    hover_.Over(*this);
}

void IButton::MouseOut() {
    hover_.Out(*this);
}

bool IButton::Draw(IGraphics& graphics) {
    IBlendSpec blend;
    if (Value() <= 0.5) {
        if (!hover_.On()) return true;
        blend.weight = hoverAmount_;
    } else if (hover_.On()) {
        blend.weight = 1.0f - hoverAmount_;
    }
    return graphics.DrawBitmapFrame(bitmap_, Rect(), 1, &blend, true);
}
