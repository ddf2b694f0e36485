#pragma once

#include <cstdint>

namespace raster {

// A colour packed as a<<24 | r<<16 | g<<8 | b, with straight (not premultiplied) alpha.
using Argb = std::uint32_t;

constexpr Argb PackArgb(int a, int r, int g, int b) {
    return static_cast<Argb>((a & 0xFF) << 24 | (r & 0xFF) << 16 | (g & 0xFF) << 8 | (b & 0xFF));
}

// Integer rectangle in pixels; right and bottom are exclusive.
struct Rect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    bool IsEmpty() const { return right <= left || bottom <= top; }
};

// Rectangle with a fractional origin and size.
struct RectF {
    double x = 0.0;
    double y = 0.0;
    double width = 0.0;
    double height = 0.0;
};

// How drawn pixels S combine with the raster's pixels D, with a = S's alpha × weight:
//   AlphaCopy    D = S·a + D·(1 − a)                        (source over)
//   Copy         D = S·w + D·(1 − w), alpha written as well (source alpha not used to blend)
//   Add          D = min(1, D + S·a)                        per channel
//   ColourDodge  D = D + (min(1, D / (1 − S)) − D)·a        per channel; black stays black
enum class BlendMode { AlphaCopy, Copy, Add, ColourDodge };

struct Blend {
    BlendMode mode = BlendMode::AlphaCopy;
    // 0..1; values outside are clamped.
    float weight = 1.0f;
};

enum class Antialias { Off, On };

enum class Filter { Nearest, Bilinear };

// The quarter of a circle that a quarter arc or quarter disc covers.
enum class Quadrant { TopLeft, TopRight, BottomRight, BottomLeft };

} // namespace raster
