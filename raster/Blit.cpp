#include "raster/Blit.h"

#include "raster/RasterAccess.h"

#include <algorithm>
#include <memory>

namespace raster {
namespace {

// Paints the source surface, placed by the pattern matrix, inside the current path.
void PaintInsidePath(Painter& painter, cairo_surface_t* surface, const cairo_matrix_t& toSource,
                     Filter filter, const Blend& blend) {
    cairo_t* cr = painter.Context();
    cairo_pattern_t* pattern = cairo_pattern_create_for_surface(surface);
    cairo_pattern_set_matrix(pattern, &toSource);
    cairo_pattern_set_filter(pattern, filter == Filter::Bilinear ? CAIRO_FILTER_BILINEAR
                                                                 : CAIRO_FILTER_NEAREST);
    cairo_pattern_set_extend(pattern, CAIRO_EXTEND_NONE);
    cairo_set_source(cr, pattern);
    cairo_clip(cr);
    cairo_paint_with_alpha(cr, painter.ApplyBlend(blend));
    cairo_pattern_destroy(pattern);
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
    trim(srcX, dstX, width, source.Width());
    trim(srcY, dstY, height, source.Height());
    trim(dstX, srcX, width, target.Width());
    trim(dstY, srcY, height, target.Height());
    if (width <= 0 || height <= 0) return;

    if (&target == &source) {
        Raster copy(width, height);
        Blit(copy, 0, 0, source, srcX, srcY, width, height, {BlendMode::Copy, 1.0f});
        Blit(target, dstX, dstY, copy, 0, 0, width, height, blend);
        return;
    }
    Painter painter(target);
    cairo_surface_t* surface = RasterAccess::SourceSurface(source);
    cairo_matrix_t toSource;
    cairo_matrix_init_translate(&toSource, srcX - dstX, srcY - dstY);
    cairo_rectangle(painter.Context(), dstX, dstY, width, height);
    PaintInsidePath(painter, surface, toSource, Filter::Nearest, blend);
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
        copy = std::make_unique<Raster>(source.Width(), source.Height());
        Blit(*copy, 0, 0, source, 0, 0, source.Width(), source.Height(), {BlendMode::Copy, 1.0f});
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
    PaintInsidePath(painter, surface, toSource, filter, blend);
    cairo_surface_destroy(surface);
}

} // namespace raster
