#pragma once

#include "gui/IBitmapRef.h"
#include "gui/IControl.h"
#include "gui/IControlParts.h"
#include "gui/ITextStyle.h"

// A handle picture that slides along a track. A press on the track moves the handle's centre
// to the pointer, dragging follows it; an idle slider is drawn dimmed while hover handling is
// on. The handle shows the parameter's value, the label below it the display text.
class ISliderImg : public IControl {
public:
    // The track is trackLength pixels long, centred across rect and starting at its top.
    ISliderImg(IEffectBase& plug, int paramIndex, const IBox& rect, const IBitmapRef& handle,
               const ITextStyle& labelStyle, int trackLength, IAxis axis, float hoverAmount);

    void MouseDown(int x, int y, const IMouseState& mods) override;
    void MouseUp(int x, int y, const IMouseState& mods) override;
    void MouseDrag(int x, int y, int dx, int dy, const IMouseState& mods) override;
    void MouseOver(int x, int y, const IMouseState& mods) override;
    void MouseOut() override;
    bool Draw(IGraphics& graphics) override;

    const IBox& TrackRect() const { return trackRect_; }
    // Distance the handle moves from one end of the track to the other.
    int Travel() const { return travel_; }

protected:
    const IBitmapRef& Handle() const { return handle_; }
    IAxis Axis() const { return axis_; }

private:
    void SetFromPosition(int x, int y);

    ITextStyle labelStyle_;
    IBox trackRect_;
    IBitmapRef handle_;
    int travel_;
    IAxis axis_;
    IHover hover_;
    bool dragging_ = false;
    float hoverAmount_;
};
