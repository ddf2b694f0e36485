#pragma once

#include "gui/IArgb.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace raster {
class Font;
}

// Bits of ITextStyle::style.
enum ITextStyleBits : std::int32_t { kTextBold = 1, kTextItalic = 2 };

enum class ITextAlign : std::int32_t { Left = 0, Centre = 1, Right = 2 };

enum class ITextQuality : std::int32_t {
    Default = 0,
    NonAntialiased = 1,
    Antialiased = 2,
    ClearType = 3
};

// How a text is drawn. The font is filled in on first use and belongs to the font cache.
struct ITextStyle {
    static constexpr std::size_t kMaxFace = 31;

    ITextStyle() = default;
    ITextStyle(std::string_view faceName, std::int32_t pixelHeight, IArgb textColour,
               std::int32_t styleBits = 0, ITextAlign alignment = ITextAlign::Left,
               std::int32_t degrees = 0, ITextQuality rendering = ITextQuality::Default)
        : face(faceName.substr(0, kMaxFace)), size(pixelHeight), colour(textColour),
          style(styleBits), align(alignment), orientation(degrees), quality(rendering) {}

    std::string face = "Arial";
    // Cell height in pixels.
    std::int32_t size = 12;
    IArgb colour;
    std::int32_t style = 0;
    ITextAlign align = ITextAlign::Left;
    // Counter-clockwise turn of the text line, in degrees.
    std::int32_t orientation = 0;
    ITextQuality quality = ITextQuality::Default;
    raster::Font* font = nullptr;
};
