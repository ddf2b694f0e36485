#pragma once

#include "gui/IBitmapRef.h"
#include "gui/IControl.h"
#include "gui/IControlParts.h"

// An on/off button: a left click toggles it. When off it shows nothing but a faint picture
// under the pointer; when on, the picture. A right click opens no value entry and the wheel
// does nothing.
class IButton : public IControl {
public:
    // The box is one frame of the (stacked) strip at (x, y); only the first frame is shown.
    IButton(IEffectBase& plug, int paramIndex, int x, int y, const IBitmapRef& bitmap,
            float hoverAmount);

    void MouseDown(int x, int y, const IMouseState& mods) override;
    void MouseWheel(int, int, const IMouseState&, int) override {}
    void MouseOver(int x, int y, const IMouseState& mods) override;
    void MouseOut() override;
    bool Draw(IGraphics& graphics) override;

private:
    IBitmapRef bitmap_;
    IHover hover_;
    float hoverAmount_;
};
