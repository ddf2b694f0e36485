#pragma once

#include "raster/Raster.h"
#include "raster/Types.h"

#include <memory>
#include <string>
#include <string_view>

typedef struct _cairo_scaled_font cairo_scaled_font_t;

namespace raster {

enum class FontQuality { Default, Aliased, Antialiased, ClearType };

struct FontSpec {
    // Family name; on Linux "Arial" and "Verdana" resolve to their metric-compatible free faces,
    // on Windows they are the system's own.
    std::string face;
    // Above 0 the cell height (ascent + descent) in pixels, below 0 the em height, 0 a default.
    int height = 0;
    bool bold = false;
    bool italic = false;
    // Counter-clockwise turn of the text line, in degrees.
    int orientation = 0;
    FontQuality quality = FontQuality::Default;
};

enum class TextAlign { Left, Centre, Right };

struct TextOptions {
    TextAlign align = TextAlign::Left;
    // Keep the text inside the box; without it the line may run past the box's edges.
    bool clip = false;
    // Draw with the colour's alpha; without it the text is opaque.
    bool useColourAlpha = false;
};

struct TextSize {
    int width = 0;
    int height = 0;
};

// A font made once and then only read: any number of threads may measure and draw with it at
// the same time. Texts are UTF-8; bytes that are not valid UTF-8 are read as Latin-1.
class Font {
public:
    // Null when no face can be found for the specification.
    static std::unique_ptr<Font> Create(const FontSpec& spec);
    ~Font();
    Font(const Font&) = delete;
    Font& operator=(const Font&) = delete;

    // Advance width and cell height of one line.
    TextSize Measure(std::string_view text) const;

    // Draws one line with its cell's top at the box's top, placed across the box by the
    // alignment, in the colour.
    void Draw(Raster& target, std::string_view text, const Rect& box, Argb colour,
              const TextOptions& options = {}) const;

    // The family the face was found under, for example "Liberation Sans".
    const std::string& Family() const { return family_; }
    int CellHeight() const { return cellHeight_; }

private:
    Font(cairo_scaled_font_t* font, std::string family, int orientation);

    cairo_scaled_font_t* font_;
    std::string family_;
    int orientation_;
    double ascent_ = 0.0;
    int cellHeight_ = 0;
};

} // namespace raster
