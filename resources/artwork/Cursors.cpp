#include "resources/artwork/Cursors.h"

#include "resources/CursorHotspots.h"
#include "resources/artwork/Palette.h"

namespace artwork {
namespace {

void DrawPointer(cairo_t* cr, double x, double y) {
    constexpr double kArrow[][2] = {{0, 0},     {0, 17},     {4.2, 13.2}, {7.2, 19.6},
                                    {10, 18.4}, {7.1, 12.2}, {12.4, 12.2}};
    cairo_move_to(cr, x + kArrow[0][0], y + kArrow[0][1]);
    for (const auto& p : kArrow) cairo_line_to(cr, x + p[0], y + p[1]);
    cairo_close_path(cr);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_MITER);
    cairo_set_line_width(cr, 1.6);
    SetColour(cr, Hex(0x000000));
    cairo_stroke_preserve(cr);
    SetColour(cr, Hex(0xffffff));
    cairo_fill(cr);
}

void DrawBadge(cairo_t* cr, double cx, double cy, SweepDirection direction) {
    Circle(cr, cx, cy, 7.5);
    SetColour(cr, Hex(0x0b1127));
    cairo_fill_preserve(cr);
    cairo_set_line_width(cr, 1.5);
    SetColour(cr, palette::kAccent);
    cairo_stroke(cr);
    const double sign = direction == SweepDirection::Ascend ? -1.0 : 1.0;
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    cairo_set_line_width(cr, 1.8);
    cairo_move_to(cr, cx, cy - 4.0 * sign);
    cairo_line_to(cr, cx, cy + 4.0 * sign);
    cairo_move_to(cr, cx - 3.2, cy + 0.8 * sign);
    cairo_line_to(cr, cx, cy + 4.0 * sign);
    cairo_line_to(cr, cx + 3.2, cy + 0.8 * sign);
    SetColour(cr, Hex(0xffffff));
    cairo_stroke(cr);
}

} // namespace

void DrawSweepCursor(Canvas& canvas, SweepDirection direction) {
    cairo_t* cr = canvas.Context();
    const CursorHotspot& hotspot =
        direction == SweepDirection::Ascend ? kAscendHotspot : kDescendHotspot;
    DrawPointer(cr, hotspot.x + 0.5, hotspot.y + 0.5);
    DrawBadge(cr, 22.5, 22.5, direction);
}

} // namespace artwork
