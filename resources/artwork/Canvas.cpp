#include "resources/artwork/Canvas.h"

#include <cmath>
#include <numbers>
#include <vector>

namespace artwork {
namespace {

void SelectFont(cairo_t* cr, const FontSpec& font) {
    cairo_select_font_face(cr, font.family, CAIRO_FONT_SLANT_NORMAL, font.weight);
    cairo_set_font_size(cr, font.size);
    cairo_font_options_t* options = cairo_font_options_create();
    cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_GRAY);
    cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_SLIGHT);
    cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_ON);
    cairo_set_font_options(cr, options);
    cairo_font_options_destroy(options);
}

// The text's characters one by one, each as its UTF-8 bytes.
std::vector<std::string> Characters(const std::string& text) {
    std::vector<std::string> characters;
    for (std::size_t i = 0; i < text.size();) {
        std::size_t length = 1;
        while (i + length < text.size() && (text[i + length] & 0xC0) == 0x80) ++length;
        characters.push_back(text.substr(i, length));
        i += length;
    }
    return characters;
}

double Advance(cairo_t* cr, const std::string& text, double tracking) {
    double width = 0.0;
    for (const std::string& character : Characters(text)) {
        const char* glyph = character.c_str();
        cairo_text_extents_t extents;
        cairo_text_extents(cr, glyph, &extents);
        width += extents.x_advance + tracking;
    }
    return width - (text.empty() ? 0.0 : tracking);
}

} // namespace

Canvas::Canvas(int width, int height, int scale)
    : surface_(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width * scale, height * scale)),
      cr_(nullptr), width_(width), height_(height) {
    cairo_surface_set_device_scale(surface_, scale, scale);
    cr_ = cairo_create(surface_);
}

Canvas::~Canvas() {
    cairo_destroy(cr_);
    cairo_surface_destroy(surface_);
}

bool Canvas::WritePng(const std::string& path) const {
    cairo_surface_flush(surface_);
    return cairo_surface_write_to_png(surface_, path.c_str()) == CAIRO_STATUS_SUCCESS;
}

void SetColour(cairo_t* cr, const Rgba& colour) {
    cairo_set_source_rgba(cr, colour.r, colour.g, colour.b, colour.a);
}

void AddColourStop(cairo_pattern_t* pattern, double offset, const Rgba& colour) {
    cairo_pattern_add_color_stop_rgba(pattern, offset, colour.r, colour.g, colour.b, colour.a);
}

void RoundedRect(cairo_t* cr, double x, double y, double width, double height, double radius) {
    constexpr double kQuarter = std::numbers::pi / 2.0;
    cairo_new_sub_path(cr);
    cairo_arc(cr, x + width - radius, y + radius, radius, -kQuarter, 0.0);
    cairo_arc(cr, x + width - radius, y + height - radius, radius, 0.0, kQuarter);
    cairo_arc(cr, x + radius, y + height - radius, radius, kQuarter, 2.0 * kQuarter);
    cairo_arc(cr, x + radius, y + radius, radius, 2.0 * kQuarter, 3.0 * kQuarter);
    cairo_close_path(cr);
}

void Circle(cairo_t* cr, double x, double y, double radius) {
    cairo_new_sub_path(cr);
    cairo_arc(cr, x, y, radius, 0.0, 2.0 * std::numbers::pi);
    cairo_close_path(cr);
}

double UpAngleX(double degrees) {
    return std::sin(degrees * std::numbers::pi / 180.0);
}

double UpAngleY(double degrees) {
    return -std::cos(degrees * std::numbers::pi / 180.0);
}

namespace {

enum class Ink { Fill, Path };

double PlaceText(cairo_t* cr, const std::string& text, double x, double baseline, Align align,
                 const FontSpec& font, double tracking, Ink ink) {
    SelectFont(cr, font);
    const double width = Advance(cr, text, tracking);
    double pen = x;
    if (align == Align::Centre) pen = x - width * 0.5;
    if (align == Align::Right) pen = x - width;
    pen = std::round(pen);
    for (const std::string& character : Characters(text)) {
        const char* glyph = character.c_str();
        cairo_move_to(cr, pen, baseline);
        if (ink == Ink::Fill) {
            cairo_show_text(cr, glyph);
        } else {
            cairo_text_path(cr, glyph);
        }
        cairo_text_extents_t extents;
        cairo_text_extents(cr, glyph, &extents);
        pen += extents.x_advance + tracking;
    }
    return width;
}

} // namespace

double DrawText(cairo_t* cr, const std::string& text, double x, double baseline, Align align,
                const FontSpec& font, const Rgba& colour, double tracking) {
    cairo_save(cr);
    SetColour(cr, colour);
    const double width = PlaceText(cr, text, x, baseline, align, font, tracking, Ink::Fill);
    cairo_restore(cr);
    return width;
}

void TextPath(cairo_t* cr, const std::string& text, double x, double baseline, Align align,
              const FontSpec& font, double tracking) {
    cairo_save(cr);
    PlaceText(cr, text, x, baseline, align, font, tracking, Ink::Path);
    cairo_restore(cr);
}

} // namespace artwork
