#include "raster/Blit.h"

#include "raster/RasterAccess.h"

#include <algorithm>
#include <cmath>
#include <memory>

namespace raster {
namespace {

// The pattern filter: the one asked for between rasters of one density; a source of another
// density is resampled with cairo's good filter, which averages the pixels it scales down.
cairo_filter_t FilterFor(Filter filter, const Raster& target, const Raster& source) {
    if (target.Density() != source.Density()) return CAIRO_FILTER_GOOD;
    return filter == Filter::Bilinear ? CAIRO_FILTER_BILINEAR : CAIRO_FILTER_NEAREST;
}

// Paints the source surface, placed by the pattern matrix, inside the current path.
void PaintInsidePath(Painter& painter, cairo_surface_t* surface, const cairo_matrix_t& toSource,
                     cairo_filter_t filter, const Blend& blend) {
    cairo_t* cr = painter.Context();
    cairo_pattern_t* pattern = cairo_pattern_create_for_surface(surface);
    cairo_pattern_set_matrix(pattern, &toSource);
    cairo_pattern_set_filter(pattern, filter);
    cairo_pattern_set_extend(pattern, CAIRO_EXTEND_NONE);
    cairo_set_source(cr, pattern);
    cairo_clip(cr);
    cairo_paint_with_alpha(cr, painter.ApplyBlend(blend));
    cairo_pattern_destroy(pattern);
}

// A raster's extent in drawing units.
int UnitsOf(int pixels, const Raster& raster) {
    return static_cast<int>(std::ceil(pixels / raster.Density()));
}

// A new raster of the source's density holding a copy of it.
std::unique_ptr<Raster> CopyOf(const Raster& source) {
    auto copy = std::make_unique<Raster>(source.Width(), source.Height());
    copy->SetDensity(source.Density());
    Blit(*copy, 0, 0, source, 0, 0, UnitsOf(source.Width(), source),
         UnitsOf(source.Height(), source), {BlendMode::Copy, 1.0f});
    return copy;
}

} // namespace

void Blit(Raster& target, int dstX, int dstY, const Raster& source, int srcX, int srcY, int width,
          int height, const Blend& blend) {
    // Trim the block to the source, then to the target, moving both origins together.
    auto trim = [&](int& origin, int& otherOrigin, int& extent, int limit) {
        if (origin < 0) {
            extent += origin;
            otherOrigin -= origin;
            origin = 0;
        }
        extent = std::min(extent, limit - origin);
    };
    trim(srcX, dstX, width, UnitsOf(source.Width(), source));
    trim(srcY, dstY, height, UnitsOf(source.Height(), source));
    trim(dstX, srcX, width, UnitsOf(target.Width(), target));
    trim(dstY, srcY, height, UnitsOf(target.Height(), target));
    if (width <= 0 || height <= 0) return;

    if (&target == &source) {
        const std::unique_ptr<Raster> copy = CopyOf(source);
        Blit(target, dstX, dstY, *copy, srcX, srcY, width, height, blend);
        return;
    }
    Painter painter(target);
    cairo_surface_t* surface = RasterAccess::SourceSurface(source);
    cairo_matrix_t toSource;
    cairo_matrix_init_translate(&toSource, srcX - dstX, srcY - dstY);
    cairo_rectangle(painter.Context(), dstX, dstY, width, height);
    PaintInsidePath(painter, surface, toSource, FilterFor(Filter::Nearest, target, source), blend);
    cairo_surface_destroy(surface);
}

void BlitRotated(Raster& target, const RectF& destination, const Raster& source,
                 const RectF& sourceRect, double angle, const Blend& blend, Filter filter) {
    if (!(destination.width > 0.0 && destination.height > 0.0 && sourceRect.width > 0.0 &&
          sourceRect.height > 0.0)) {
        return;
    }
    std::unique_ptr<Raster> copy;
    const Raster* from = &source;
    if (&target == &source) {
        copy = CopyOf(source);
        from = copy.get();
    }
    Painter painter(target);
    cairo_surface_t* surface = RasterAccess::SourceSurface(*from);
    if (!painter.Context() || !surface) {
        cairo_surface_destroy(surface);
        return;
    }
    cairo_t* cr = painter.Context();
    const double centreX = destination.x + destination.width * 0.5;
    const double centreY = destination.y + destination.height * 0.5;

    // The destination rectangle bounds the pixels painted.
    cairo_rectangle(cr, destination.x, destination.y, destination.width, destination.height);

    // Target point -> source point: about the destination centre, turn back, scale, and move to
    // the source rectangle's centre (later steps are written first).
    cairo_matrix_t toSource;
    cairo_matrix_init_translate(&toSource, sourceRect.x + sourceRect.width * 0.5,
                                sourceRect.y + sourceRect.height * 0.5);
    cairo_matrix_scale(&toSource, sourceRect.width / destination.width,
                       sourceRect.height / destination.height);
    cairo_matrix_rotate(&toSource, -angle);
    cairo_matrix_translate(&toSource, -centreX, -centreY);
    PaintInsidePath(painter, surface, toSource, FilterFor(filter, target, *from), blend);
    cairo_surface_destroy(surface);
}

} // namespace raster
