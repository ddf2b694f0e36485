#include "raster/Font.h"

#include "raster/FontFace.h"
#include "raster/RasterAccess.h"
#include "raster/Text.h"

#include <cmath>
#include <mutex>
#include <numbers>

namespace raster {
namespace {

cairo_font_options_t* OptionsFor(FontQuality quality, cairo_hint_metrics_t metrics) {
    cairo_font_options_t* options = cairo_font_options_create();
    cairo_font_options_set_antialias(
        options, quality == FontQuality::Aliased ? CAIRO_ANTIALIAS_NONE : CAIRO_ANTIALIAS_GRAY);
    cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_SLIGHT);
    cairo_font_options_set_hint_metrics(options, metrics);
    return options;
}

cairo_scaled_font_t* ScaledFont(cairo_font_face_t* face, double em, FontQuality quality,
                                cairo_hint_metrics_t metrics) {
    cairo_matrix_t fontMatrix, identity;
    cairo_matrix_init_scale(&fontMatrix, em, em);
    cairo_matrix_init_identity(&identity);
    cairo_font_options_t* options = OptionsFor(quality, metrics);
    cairo_scaled_font_t* font = cairo_scaled_font_create(face, &fontMatrix, &identity, options);
    cairo_font_options_destroy(options);
    if (cairo_scaled_font_status(font) != CAIRO_STATUS_SUCCESS) {
        cairo_scaled_font_destroy(font);
        return nullptr;
    }
    return font;
}

// The em size that gives the face the requested height.
double EmFor(cairo_font_face_t* face, const FontSpec& spec) {
    constexpr double kDefaultEm = 12.0;
    if (spec.height < 0) return -static_cast<double>(spec.height);
    if (spec.height == 0) return kDefaultEm;
    constexpr double kProbeEm = 100.0;
    cairo_scaled_font_t* probe = ScaledFont(face, kProbeEm, spec.quality, CAIRO_HINT_METRICS_OFF);
    if (!probe) return 0.0;
    cairo_font_extents_t extents;
    cairo_scaled_font_extents(probe, &extents);
    cairo_scaled_font_destroy(probe);
    const double cell = extents.ascent + extents.descent;
    return cell > 0.0 ? spec.height * kProbeEm / cell : 0.0;
}

// Fonts are made one at a time: it happens once per style and process, and keeps the font
// back end's lazily built configuration and caches out of concurrent first use.
std::mutex creationLock;

std::unique_lock<std::mutex> GuardGlyphRendering() {
    std::mutex* lock = GlyphRenderingLock();
    return lock ? std::unique_lock(*lock) : std::unique_lock<std::mutex>();
}

} // namespace

std::unique_ptr<Font> Font::Create(const FontSpec& spec) {
    std::lock_guard guard(creationLock);
    std::string familyName;
    cairo_font_face_t* face = CreateFontFace(spec, familyName);
    if (!face) return nullptr;
    const double em = EmFor(face, spec);
    cairo_scaled_font_t* font =
        em > 0.0 ? ScaledFont(face, em, spec.quality, CAIRO_HINT_METRICS_ON) : nullptr;
    cairo_font_face_destroy(face);
    if (!font) return nullptr;
    return std::unique_ptr<Font>(new Font(font, std::move(familyName), spec.orientation));
}

Font::Font(cairo_scaled_font_t* font, std::string family, int orientation)
    : font_(font), family_(std::move(family)), orientation_(orientation) {
    cairo_font_extents_t extents;
    cairo_scaled_font_extents(font_, &extents);
    ascent_ = std::round(extents.ascent);
    cellHeight_ = static_cast<int>(std::lround(extents.ascent + extents.descent));
}

Font::~Font() {
    cairo_scaled_font_destroy(font_);
}

TextSize Font::Measure(std::string_view text) const {
    if (text.empty()) return {0, cellHeight_};
    const std::string utf8 = TextAsUtf8(text);
    auto guard = GuardGlyphRendering();
    cairo_text_extents_t extents;
    cairo_scaled_font_text_extents(font_, utf8.c_str(), &extents);
    return {static_cast<int>(std::lround(extents.x_advance)), cellHeight_};
}

void Font::Draw(Raster& target, std::string_view text, const Rect& box, Argb colour,
                const TextOptions& options) const {
    if (text.empty()) return;
    auto guard = GuardGlyphRendering();
    Painter painter(target);
    cairo_t* cr = painter.Context();
    if (!cr) return;
    const std::string utf8 = TextAsUtf8(text);
    cairo_text_extents_t extents;
    cairo_scaled_font_text_extents(font_, utf8.c_str(), &extents);
    const int advance = static_cast<int>(std::lround(extents.x_advance));
    int x = box.left;
    if (options.align == TextAlign::Centre) x = box.left + (box.Width() - advance) / 2;
    if (options.align == TextAlign::Right) x = box.right - advance;

    if (options.clip) {
        cairo_rectangle(cr, box.left, box.top, box.Width(), box.Height());
        cairo_clip(cr);
    }
    cairo_translate(cr, x, box.top);
    cairo_rotate(cr, -orientation_ * std::numbers::pi / 180.0);
    cairo_set_scaled_font(cr, font_);
    SetSourceColour(cr, options.useColourAlpha ? colour : colour | 0xFF000000u, 1.0);
    cairo_move_to(cr, 0.0, ascent_);
    cairo_show_text(cr, utf8.c_str());
}

} // namespace raster
