#pragma once

#include "gui/IBitmapControl.h"
#include "gui/IBitmapRef.h"
#include "gui/IControl.h"
#include "gui/IControlParts.h"
#include "gui/ITextStyle.h"

// A switch that shows one frame of a strip per state and its value's text below. Each left
// click moves to the next state, wrapping after the last; the wheel does nothing.
class ISwitchLbl : public IControl {
public:
    // width 0 takes the frame's width; a wider box centres the frame. layout SideBySide reads
    // the frames across the strip, any other layout down it.
    ISwitchLbl(IEffectBase& plug, int paramIndex, int x, int y, const IBitmapRef& bitmap,
               const ITextStyle& labelStyle, int labelGap, int width, IBitmapLayout layout,
               float hoverAmount);

    void MouseDown(int x, int y, const IMouseState& mods) override;
    void MouseWheel(int, int, const IMouseState&, int) override {}
    void MouseOver(int x, int y, const IMouseState& mods) override;
    void MouseOut() override;
    bool Draw(IGraphics& graphics) override;

private:
    ITextStyle labelStyle_;
    IBitmapRef bitmap_;
    int labelGap_;
    int width_;
    bool framesStacked_;
    float hoverAmount_;
    IHover hover_;
};
