#pragma once

#include <cairo.h>

#include <cstdint>
#include <string>

namespace artwork {

// Colour with straight alpha, channels 0..1.
struct Rgba {
    double r = 0.0;
    double g = 0.0;
    double b = 0.0;
    double a = 1.0;

    Rgba WithAlpha(double alpha) const { return {r, g, b, alpha}; }
};

// 0xRRGGBB with an alpha.
constexpr Rgba Hex(std::uint32_t rgb, double alpha = 1.0) {
    return {((rgb >> 16) & 0xFF) / 255.0, ((rgb >> 8) & 0xFF) / 255.0, (rgb & 0xFF) / 255.0, alpha};
}

// A transparent ARGB image and its drawing context. Drawing is in picture units; a canvas of
// scale 2 or 3 holds that many pixels per unit, so the same drawing code makes every density.
class Canvas {
public:
    Canvas(int width, int height, int scale = 1);
    ~Canvas();
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    cairo_t* Context() const { return cr_; }
    cairo_surface_t* Surface() const { return surface_; }
    // Size in picture units.
    int Width() const { return width_; }
    int Height() const { return height_; }

    // Writes the image as a PNG file; false on failure.
    bool WritePng(const std::string& path) const;

private:
    cairo_surface_t* surface_;
    cairo_t* cr_;
    int width_;
    int height_;
};

void SetColour(cairo_t* cr, const Rgba& colour);
void AddColourStop(cairo_pattern_t* pattern, double offset, const Rgba& colour);
void RoundedRect(cairo_t* cr, double x, double y, double width, double height, double radius);
void Circle(cairo_t* cr, double x, double y, double radius);

// Direction of a point at `degrees` clockwise from straight up, as unit (dx, dy) on screen.
double UpAngleX(double degrees);
double UpAngleY(double degrees);

enum class Align { Left, Centre, Right };

struct FontSpec {
    const char* family;
    double size;
    cairo_font_weight_t weight = CAIRO_FONT_WEIGHT_NORMAL;
};

// Hinted sans serif faces resolved through fontconfig.
inline constexpr FontSpec kCaptionFont{"Liberation Sans", 11.0};

// One line of text whose baseline starts at (x, baseline) for Left, is centred on x for Centre
// and ends at x for Right; `tracking` adds space after every character. Answers the width.
double DrawText(cairo_t* cr, const std::string& text, double x, double baseline, Align align,
                const FontSpec& font, const Rgba& colour, double tracking = 0.0);
// The same line added to the current path instead, for filling with a pattern.
void TextPath(cairo_t* cr, const std::string& text, double x, double baseline, Align align,
              const FontSpec& font, double tracking = 0.0);

} // namespace artwork
