#pragma once

#include "gui/IBitmapRef.h"
#include "gui/IControl.h"

// How the frames of a bitmap strip are laid out; Whole shows the bitmap as one picture.
enum class IBitmapLayout { Stacked, SideBySide, Whole };

// Shows one frame of a bitmap strip chosen by its value; with one frame, a plain picture.
class IBitmapControl : public IControl {
public:
    IBitmapControl(IEffectBase& plug, int x, int y, const IBitmapRef& bitmap, IBlendMode blendMode,
                   IBitmapLayout layout);

    bool Draw(IGraphics& graphics) override;

private:
    IBitmapRef bitmap_;
    bool framesStacked_ = false;
};
