#include "raster/Shapes.h"

#include "raster/RasterAccess.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace raster {
namespace {

constexpr double kPi = std::numbers::pi;

// Fills the current path with the colour and blend.
void FillPath(Painter& painter, Argb colour, const Blend& blend, Antialias antialias) {
    cairo_t* cr = painter.Context();
    cairo_set_antialias(cr, antialias == Antialias::On ? CAIRO_ANTIALIAS_DEFAULT
                                                       : CAIRO_ANTIALIAS_NONE);
    const double weight = painter.ApplyBlend(blend);
    SetSourceColour(cr, colour, 1.0);
    cairo_clip(cr);
    cairo_paint_with_alpha(cr, weight);
}

// Ring between two radii about a point (inner radius 0 gives a disc).
void RingPath(cairo_t* cr, double x, double y, double inner, double outer) {
    cairo_new_sub_path(cr);
    cairo_arc(cr, x, y, outer, 0.0, 2.0 * kPi);
    if (inner > 0.0) {
        cairo_new_sub_path(cr);
        cairo_arc_negative(cr, x, y, inner, 2.0 * kPi, 0.0);
    }
    cairo_close_path(cr);
}

// Places the origin on the centre pixel's middle and mirrors the axes so that the quadrant is
// drawn as the top-left one.
void EnterQuadrant(cairo_t* cr, int centreX, int centreY, Quadrant quadrant) {
    cairo_translate(cr, centreX + 0.5, centreY + 0.5);
    const bool right = quadrant == Quadrant::TopRight || quadrant == Quadrant::BottomRight;
    const bool bottom = quadrant == Quadrant::BottomLeft || quadrant == Quadrant::BottomRight;
    cairo_scale(cr, right ? -1.0 : 1.0, bottom ? -1.0 : 1.0);
}

} // namespace

void Line(Raster& target, double x1, double y1, double x2, double y2, Argb colour,
          const Blend& blend, Antialias antialias) {
    Painter painter(target);
    cairo_t* cr = painter.Context();
    if (!cr) return;
    const double dx = x2 - x1;
    const double dy = y2 - y1;
    cairo_translate(cr, 0.5, 0.5);
    if (antialias == Antialias::On) {
        // A rectangle one pixel wide with half a pixel added beyond each end.
        const double length = std::hypot(dx, dy);
        const double ux = length > 0.0 ? dx / length : 1.0;
        const double uy = length > 0.0 ? dy / length : 0.0;
        const double ex = ux * 0.5, ey = uy * 0.5; // half a pixel along the line
        const double nx = -ey, ny = ex;            // half a pixel across it
        cairo_move_to(cr, x1 - ex + nx, y1 - ey + ny);
        cairo_line_to(cr, x2 + ex + nx, y2 + ey + ny);
        cairo_line_to(cr, x2 + ex - nx, y2 + ey - ny);
        cairo_line_to(cr, x1 - ex - nx, y1 - ey - ny);
    } else {
        // A band one pixel tall across the longer axis, so each step covers one pixel centre.
        const bool alongX = std::abs(dx) >= std::abs(dy);
        const double major = alongX ? dx : dy;
        const double step = major >= 0.0 ? 0.5 : -0.5;
        const double slope = major != 0.0 ? (alongX ? dy : dx) / major : 0.0;
        auto point = [&](double x, double y, double along, double across) {
            if (alongX) {
                cairo_line_to(cr, x + along, y + along * slope + across);
            } else {
                cairo_line_to(cr, x + along * slope + across, y + along);
            }
        };
        cairo_new_path(cr);
        point(x1, y1, -step, -0.5);
        point(x2, y2, step, -0.5);
        point(x2, y2, step, 0.5);
        point(x1, y1, -step, 0.5);
    }
    cairo_close_path(cr);
    cairo_identity_matrix(cr);
    FillPath(painter, colour, blend, antialias);
}

void Circle(Raster& target, double centreX, double centreY, double radius, Argb colour,
            const Blend& blend, Antialias antialias) {
    Painter painter(target);
    if (!painter.Context() || !(radius >= 0.0)) return;
    RingPath(painter.Context(), centreX + 0.5, centreY + 0.5, radius - 0.5, radius + 0.5);
    FillPath(painter, colour, blend, antialias);
}

void FillCircle(Raster& target, double centreX, double centreY, double radius, Argb colour,
                const Blend& blend, Antialias antialias) {
    Painter painter(target);
    if (!painter.Context() || !(radius >= 0.0)) return;
    RingPath(painter.Context(), centreX + 0.5, centreY + 0.5, 0.0, radius + 0.5);
    FillPath(painter, colour, blend, antialias);
}

void QuarterArc(Raster& target, int centreX, int centreY, int radius, Quadrant quadrant,
                Argb colour, const Blend& blend, Antialias antialias) {
    Painter painter(target);
    cairo_t* cr = painter.Context();
    if (!cr || radius < 0) return;
    EnterQuadrant(cr, centreX, centreY, quadrant);
    // From the left end pixel round to the top end pixel, each end reaching to the edge of the
    // centre's column or row.
    const double outer = radius + 0.5;
    const double inner = std::max(radius - 0.5, 0.0);
    cairo_move_to(cr, -outer, 0.5);
    cairo_arc(cr, 0.0, 0.0, outer, kPi, 1.5 * kPi);
    cairo_line_to(cr, 0.5, -outer);
    cairo_line_to(cr, 0.5, -inner);
    cairo_arc_negative(cr, 0.0, 0.0, inner, 1.5 * kPi, kPi);
    cairo_line_to(cr, -inner, 0.5);
    cairo_close_path(cr);
    cairo_identity_matrix(cr);
    FillPath(painter, colour, blend, antialias);
}

void FillQuarterDisc(Raster& target, int centreX, int centreY, int radius, Quadrant quadrant,
                     Argb colour, const Blend& blend, Antialias antialias) {
    Painter painter(target);
    cairo_t* cr = painter.Context();
    if (!cr || radius < 0) return;
    EnterQuadrant(cr, centreX, centreY, quadrant);
    const double outer = radius + 0.5;
    cairo_move_to(cr, 0.5, 0.5);
    cairo_line_to(cr, -outer, 0.5);
    cairo_arc(cr, 0.0, 0.0, outer, kPi, 1.5 * kPi);
    cairo_line_to(cr, 0.5, -outer);
    cairo_close_path(cr);
    cairo_identity_matrix(cr);
    FillPath(painter, colour, blend, antialias);
}

void FillRect(Raster& target, const Rect& rect, Argb colour, const Blend& blend) {
    const Rect clipped{std::max(rect.left, 0), std::max(rect.top, 0),
                       std::min(rect.right, target.Width()),
                       std::min(rect.bottom, target.Height())};
    if (clipped.IsEmpty()) return;
    Painter painter(target);
    cairo_rectangle(painter.Context(), clipped.left, clipped.top, clipped.Width(),
                    clipped.Height());
    FillPath(painter, colour, blend, Antialias::Off);
}

} // namespace raster
