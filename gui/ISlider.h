#pragma once

#include "gui/IArgb.h"
#include "gui/ISliderImg.h"

// The fill bar an ISlider draws under its handle.
struct ISliderBar {
    IArgb colour;
    // Across the track; 0 draws no bar.
    int thickness = 0;
    // Pixels the bar stops short of the track's far end (its start for horizontal sliders).
    int inset = 0;
    // A horizontal bar grows from the middle of the track towards the handle.
    bool centred = false;
};

// An image slider with a bar filled from the track's end (or middle) to the handle.
class ISlider : public ISliderImg {
public:
    ISlider(IEffectBase& plug, int paramIndex, const IBox& rect, const IBitmapRef& handle,
            const ITextStyle& labelStyle, const ISliderBar& bar, int trackLength, IAxis axis,
            float hoverAmount);

    bool Draw(IGraphics& graphics) override;

private:
    // The bar for the control's value; false when there is none.
    bool BarRect(IBox* out) const;

    ISliderBar bar_;
};
