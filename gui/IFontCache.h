#pragma once

#include "gui/ITextStyle.h"
#include "raster/Font.h"

#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

// Fonts by (size, orientation, style bits, face), kept until the library unloads so that every
// editor in the process shares them; colour and quality play no part. Safe from any thread.
class IFontCache {
public:
    // The process-wide cache.
    static IFontCache& Instance();

    IFontCache() = default;
    IFontCache(const IFontCache&) = delete;
    IFontCache& operator=(const IFontCache&) = delete;

    // The font cached for the style (face compared case-sensitively), or null.
    raster::Font* Find(const ITextStyle& style) const;

    // Keeps the font for the style and answers the font the style stands for from now on: the
    // earlier one when another thread added the same key meanwhile. A null font adds nothing.
    raster::Font* Add(std::unique_ptr<raster::Font> font, const ITextStyle& style);

    // The style's font: cached, or made and cached now; stored in style.font as well. Null (and
    // nothing stored) when no font can be made for the style.
    raster::Font* FontFor(ITextStyle& style);

private:
    struct Entry {
        std::int32_t size;
        std::int32_t orientation;
        std::int32_t style;
        std::string face;
        std::unique_ptr<raster::Font> font;
    };
    raster::Font* FindLocked(const ITextStyle& style) const;

    mutable std::mutex lock_;
    std::vector<Entry> entries_;
};

// A new font for the style: cell height = size, bold and italic from the style bits, the
// style's orientation and rendering quality. Null when no face can be found.
std::unique_ptr<raster::Font> CreateFontForStyle(const ITextStyle& style);
