#include "gui/IFontCache.h"
#include "gui/IGraphics.h"
#include "raster/Blit.h"
#include "raster/Font.h"
#include "raster/Raster.h"
#include "raster/Shapes.h"

#include <cmath>
#include <cstring>

namespace {

raster::Blend Translate(const IBlendSpec* blend) {
    if (!blend) return {raster::BlendMode::AlphaCopy, 1.0f};
    raster::Blend out{raster::BlendMode::AlphaCopy, blend->weight};
    switch (blend->mode) {
    case IBlendMode::Copy:
        out.mode = raster::BlendMode::Copy;
        break;
    case IBlendMode::Additive:
        out.mode = raster::BlendMode::Add;
        break;
    case IBlendMode::ColorDodge:
        out.mode = raster::BlendMode::ColourDodge;
        break;
    default:
        break;
    }
    return out;
}

// Primitives whose opacity is the colour's alpha: the alpha becomes the weight and the colour
// is drawn opaque, so that alpha is applied once.
struct AlphaAsWeight {
    raster::Argb colour;
    raster::Blend blend;
};

AlphaAsWeight OpacityFromAlpha(const IArgb& colour, const IBlendSpec* blend) {
    raster::Blend out = Translate(blend);
    out.weight = static_cast<float>(colour.a) / 255.0f;
    return {raster::PackArgb(255, colour.r, colour.g, colour.b), out};
}

raster::Antialias Smooth(bool antiAlias) {
    return antiAlias ? raster::Antialias::On : raster::Antialias::Off;
}

raster::Rect ToRect(const IBox& box) {
    return {box.left, box.top, box.right, box.bottom};
}

} // namespace

void IGraphics::PrepareDraw() {
    drawRaster_ = std::make_unique<raster::Raster>(PixelWidth(), PixelHeight());
    drawRaster_->SetDensity(scale_);
    scratchRaster_ = std::make_unique<raster::Raster>(0, 0);
    ApplyHostValues();
}

void IGraphics::ResizeDrawRaster() {
    if (!drawRaster_) return;
    drawRaster_->SetDensity(scale_);
    drawRaster_->Resize(PixelWidth(), PixelHeight());
}

bool IGraphics::DrawBitmap(const IBitmapRef& ref, const IBox& dest, int srcX, int srcY,
                           const IBlendSpec* blend) {
    if (!drawRaster_ || !ref.raster) return false;
    const IBox clipped = dest.Intersect(drawRect_);
    if (clipped.Empty()) return true;
    srcX += clipped.left - dest.left;
    srcY += clipped.top - dest.top;
    raster::Blit(*drawRaster_, clipped.left, clipped.top, *DenseRaster(ref.raster), srcX, srcY,
                 clipped.W(), clipped.H(), Translate(blend));
    return true;
}

bool IGraphics::DrawBitmapFrame(const IBitmapRef& ref, const IBox& dest, int frame,
                                const IBlendSpec* blend, bool framesStacked) {
    int srcX = 0;
    int srcY = 0;
    if (ref.frames >= 2 && frame >= 2) {
        const int extent = framesStacked ? ref.height : ref.width;
        const int offset =
            static_cast<int>(std::floor(double(extent) * (frame - 1) / ref.frames + 0.5));
        (framesStacked ? srcY : srcX) = offset;
    }
    return DrawBitmap(ref, dest, srcX, srcY, blend);
}

bool IGraphics::DrawBitmapRotated(const IBitmapRef& ref, int centreX, int centreY, double angle,
                                  const IBlendSpec* blend, double srcOffsetX, double srcOffsetY) {
    if (!drawRaster_ || !ref.raster) return false;
    const double width = ref.width;
    const double height = ref.height;
    const raster::RectF dest{std::trunc(centreX - std::floor(width / 2)),
                             std::trunc(centreY - std::floor(height / 2)), width, height};
    const raster::RectF source{srcOffsetX, srcOffsetY, width, height};
    raster::BlitRotated(*drawRaster_, dest, *DenseRaster(ref.raster), source, angle,
                        Translate(blend), raster::Filter::Bilinear);
    return true;
}

bool IGraphics::DrawLine(const IArgb& colour, float x1, float y1, float x2, float y2,
                         const IBlendSpec* blend, bool antiAlias) {
    if (!drawRaster_) return false;
    const AlphaAsWeight drawn = OpacityFromAlpha(colour, blend);
    raster::Line(*drawRaster_, x1, y1, x2, y2, drawn.colour, drawn.blend, Smooth(antiAlias));
    return true;
}

bool IGraphics::DrawThickLine(const IArgb& colour, float x1, float y1, float x2, float y2,
                              float thickness, const IBlendSpec* blend, bool antiAlias) {
    if (!drawRaster_) return false;
    const int whole = static_cast<int>(std::floor(thickness));
    const double across = 2.0 * std::hypot(x2 - x1, y2 - y1);
    // A segment of no length has no direction to offset along, and draws nothing.
    if (whole <= 0 || across == 0.0) return true;
    const raster::Blend weighted = Translate(blend);
    for (int k = 0; k < whole; ++k) {
        const double offset = thickness - whole + k;
        const double dx = -offset * (y2 - y1) / across;
        const double dy = offset * (x2 - x1) / across;
        for (const double side : {1.0, -1.0})
            raster::Line(*drawRaster_, x1 + side * dx, y1 + side * dy, x2 + side * dx,
                         y2 + side * dy, colour.Packed(), weighted, Smooth(antiAlias));
    }
    return true;
}

bool IGraphics::DrawCircle(const IArgb& colour, float cx, float cy, float radius,
                           const IBlendSpec* blend, bool antiAlias) {
    if (!drawRaster_) return false;
    const AlphaAsWeight drawn = OpacityFromAlpha(colour, blend);
    raster::Circle(*drawRaster_, cx, cy, radius, drawn.colour, drawn.blend, Smooth(antiAlias));
    return true;
}

bool IGraphics::FillCircle(const IArgb& colour, float cx, float cy, float radius,
                           const IBlendSpec* blend, bool antiAlias) {
    if (!drawRaster_) return false;
    raster::FillCircle(*drawRaster_, cx, cy, radius, colour.Packed(), Translate(blend),
                       Smooth(antiAlias));
    return true;
}

bool IGraphics::OutlineRoundedBox(const IArgb& colour, const IBox& rect, int radius,
                                  const IBlendSpec* blend, bool antiAlias) {
    if (!drawRaster_) return false;
    const AlphaAsWeight drawn = OpacityFromAlpha(colour, blend);
    const raster::Antialias smooth = Smooth(antiAlias);
    const int r = radius;
    const int left = rect.left;
    const int top = rect.top;
    const int right = rect.right - 1;
    const int bottom = rect.bottom - 1;
    raster::Raster& target = *drawRaster_;
    raster::Line(target, left + r + 1, top, right - r - 1, top, drawn.colour, drawn.blend, smooth);
    raster::Line(target, right, top + r + 1, right, bottom - r - 1, drawn.colour, drawn.blend,
                 smooth);
    raster::Line(target, left + r + 1, bottom, right - r - 1, bottom, drawn.colour, drawn.blend,
                 smooth);
    raster::Line(target, left, top + r + 1, left, bottom - r - 1, drawn.colour, drawn.blend,
                 smooth);
    raster::QuarterArc(target, left + r, top + r, r, raster::Quadrant::TopLeft, drawn.colour,
                       drawn.blend, smooth);
    raster::QuarterArc(target, right - r, top + r, r, raster::Quadrant::TopRight, drawn.colour,
                       drawn.blend, smooth);
    raster::QuarterArc(target, right - r, bottom - r, r, raster::Quadrant::BottomRight,
                       drawn.colour, drawn.blend, smooth);
    raster::QuarterArc(target, left + r, bottom - r, r, raster::Quadrant::BottomLeft, drawn.colour,
                       drawn.blend, smooth);
    return true;
}

bool IGraphics::FillRoundedBox(const IArgb& colour, const IBox& rect, int radius, int corners,
                               const IBlendSpec* blend, bool antiAlias) {
    if (!drawRaster_) return false;
    if (corners != 4 && corners != 2 && corners != -2) return true;
    const bool topCorners = corners != -2;
    const bool bottomCorners = corners != 2;
    const int r = radius;
    const int inner = r + 1;
    const raster::Argb packed = colour.Packed();
    const raster::Blend bands = Translate(blend);
    // The corners take the bands' weight too, so a weighted box has one opacity throughout.
    AlphaAsWeight discs = OpacityFromAlpha(colour, blend);
    discs.blend.weight *= bands.weight;
    const raster::Antialias smooth = Smooth(antiAlias);
    raster::Raster& target = *drawRaster_;

    const int bandTop = topCorners ? rect.top + inner : rect.top;
    const int bandBottom = bottomCorners ? rect.bottom - inner : rect.bottom;
    raster::FillRect(target, {rect.left, bandTop, rect.right, bandBottom}, packed, bands);
    const int cornerRight = rect.right - inner;
    const int cornerBottom = rect.bottom - inner;
    if (topCorners) {
        raster::FillRect(target, {rect.left + inner, rect.top, cornerRight, rect.top + inner},
                         packed, bands);
        raster::FillQuarterDisc(target, rect.left + r, rect.top + r, r, raster::Quadrant::TopLeft,
                                discs.colour, discs.blend, smooth);
        raster::FillQuarterDisc(target, cornerRight, rect.top + r, r, raster::Quadrant::TopRight,
                                discs.colour, discs.blend, smooth);
    }
    if (bottomCorners) {
        raster::FillRect(target, {rect.left + inner, cornerBottom, cornerRight, rect.bottom},
                         packed, bands);
        raster::FillQuarterDisc(target, cornerRight, cornerBottom, r, raster::Quadrant::BottomRight,
                                discs.colour, discs.blend, smooth);
        raster::FillQuarterDisc(target, rect.left + r, cornerBottom, r,
                                raster::Quadrant::BottomLeft, discs.colour, discs.blend, smooth);
    }
    return true;
}

bool IGraphics::FillRect(const IArgb& colour, const IBox& rect, const IBlendSpec* blend) {
    if (!drawRaster_) return false;
    raster::FillRect(*drawRaster_, ToRect(rect), colour.Packed(), Translate(blend));
    return true;
}

bool IGraphics::DrawText(ITextStyle& style, const char* text, const IBox& rect) {
    if (!text || !*text) return true;
    raster::Font* font = style.font ? style.font : FontForStyle(style);
    if (!font || !drawRaster_) return false;
    raster::TextOptions options;
    options.clip = false;
    options.useColourAlpha = style.colour.a < 255;
    switch (style.align) {
    case ITextAlign::Left:
        options.align = raster::TextAlign::Left;
        break;
    case ITextAlign::Centre:
        options.align = raster::TextAlign::Centre;
        break;
    default:
        options.align = raster::TextAlign::Right;
        break;
    }
    font->Draw(*drawRaster_, text, ToRect(rect), style.colour.Packed(), options);
    return true;
}

raster::Font* IGraphics::FontForStyle(ITextStyle& style) {
    return IFontCache::Instance().FontFor(style);
}
