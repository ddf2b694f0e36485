#include "gui/IBitmapControl.h"

#include "gui/IGraphics.h"

#include <algorithm>
#include <cmath>

namespace {

IBox BitmapRect(int x, int y, const IBitmapRef& bitmap, IBitmapLayout layout) {
    const int frames = std::max(bitmap.frames, 1);
    switch (layout) {
    case IBitmapLayout::Stacked:
        return {x, y, x + bitmap.width, y + bitmap.height / frames};
    case IBitmapLayout::SideBySide:
        return {x, y, x + bitmap.width / frames, y + bitmap.height};
    case IBitmapLayout::Whole:
        break;
    }
    return {x, y, x + bitmap.width, y + bitmap.height};
}

} // namespace

IBitmapControl::IBitmapControl(IEffectBase& plug, int x, int y, const IBitmapRef& bitmap,
                               IBlendMode blendMode, IBitmapLayout layout)
    : IControl(plug, BitmapRect(x, y, bitmap, layout), -1, blendMode), bitmap_(bitmap),
      framesStacked_(layout == IBitmapLayout::Stacked) {}

bool IBitmapControl::Draw(IGraphics& graphics) {
    int frame = 1;
    if (bitmap_.frames >= 2) {
        frame = static_cast<int>(std::floor((bitmap_.frames - 1) * Value() + 0.5)) + 1;
        frame = std::clamp(frame, 1, bitmap_.frames);
    }
    return graphics.DrawBitmapFrame(bitmap_, Rect(), frame, &Blend(), framesStacked_);
}
