#pragma once

#include "gui/IBitmapRef.h"
#include "gui/IControlParts.h"
#include "gui/IKnobControl.h"
#include "gui/ITextStyle.h"

// How a rotating knob is built besides its place, picture and label style.
struct IKnobRotValSettings {
    // Pixels between the picture and the value label; below 0 the label moves up by that much
    // and takes no room below the picture.
    int labelGap = 0;
    // Turn from the lowest to the highest value, centred on the upright position.
    int sweepDegrees = 300;
    // Dragging by the control's height (or width) changes the value by 1 / gearing.
    double gearing = 1.0;
    // Width of the control box; 0 takes the width of one frame of the picture.
    int width = 0;
    IAxis drag = IAxis::Vertical;
    // Hovering lowers the fixed part's weight to 1 - hoverAmount (to -hoverAmount when negative).
    float hoverAmount = 0.0f;
    bool showUnit = true;
    // Number of positions a release snaps to; 0 or 1 leaves the knob continuous.
    int stepCount = 0;
};

// A knob whose picture turns with its value, with the value written below it. The picture is
// usually the right half of a split bitmap (the fixed body), whose left half (the cap) is
// found again through the cache id it carries; an unsplit picture turns as a whole.
class IKnobRotVal : public IKnobControl {
public:
    IKnobRotVal(IEffectBase& plug, int paramIndex, int centreX, int centreY,
                const IBitmapRef& bitmap, const ITextStyle& labelStyle,
                const IKnobRotValSettings& settings);

    void MouseUp(int x, int y, const IMouseState& mods) override;
    void MouseDrag(int x, int y, int dx, int dy, const IMouseState& mods) override;
    void MouseOver(int x, int y, const IMouseState& mods) override;
    void MouseOut() override;
    bool Draw(IGraphics& graphics) override;

private:
    IAxis drag_;
    double gearing_;
    ITextStyle labelStyle_;
    IBitmapRef bitmap_;
    int centreX_;
    int centreY_;
    int labelGap_;
    int sweepDegrees_;
    // Snapping intervals; 0 or less is continuous.
    int steps_;
    float hoverAmount_;
    bool showUnit_;
    IHover hover_;
};
