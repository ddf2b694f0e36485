#pragma once

#include "gui/GuiTypes.h"

#include <cstdint>

class RasterFont;

enum class ITextAlign : int32_t { Left = 0, Centre = 1, Right = 2 };
enum class IFontQuality : int32_t {
    Default = 0,
    NonAntialiased = 1,
    Antialiased = 2,
    ClearType = 3
};

// Style bits.
inline constexpr int32_t kTextBold = 1;
inline constexpr int32_t kTextItalic = 2;

// How a text is drawn. The font is looked up on first use and belongs to the font cache.
struct ITextStyle {
    static constexpr int kFaceCapacity = 31;

    char face[kFaceCapacity + 1] = "Arial";
    int32_t size = 12; // pixel height
    IArgb colour{255, 0, 0, 0};
    int32_t style = 0;
    ITextAlign align = ITextAlign::Left;
    int32_t orientation = 0; // degrees
    IFontQuality quality = IFontQuality::Default;
    RasterFont* font = nullptr;
};
