#include "resources/artwork/Illustration.h"

#include "resources/artwork/Palette.h"

#include <cmath>
#include <numbers>

namespace artwork {
namespace {

struct Point {
    double x;
    double y;
};

struct Curve {
    Point c1;
    Point c2;
    Point to;
};

// The profile from the nape over the crown to the chin, relative to the brain's centre.
constexpr Point kProfileStart{-44, 58};
constexpr Curve kProfile[] = {
    {{-56, 34}, {-76, 12}, {-74, -18}},  // back of the head
    {{-72, -62}, {-32, -88}, {10, -88}}, // crown
    {{54, -88}, {80, -58}, {80, -24}},   // forehead
    {{80, -14}, {78, -8}, {82, -2}},     // brow
    {{86, 6}, {92, 14}, {96, 22}},       // bridge of the nose
    {{98, 27}, {94, 30}, {88, 30}},      // nose tip
    {{90, 33}, {90, 37}, {87, 39}},      // upper lip
    {{90, 42}, {89, 46}, {85, 48}},      // lower lip
    {{86, 52}, {86, 58}, {80, 62}},      // chin
};

// A lobed outline: an ellipse around (cx, cy) whose edge swells into `lobes` rounded bulges
// meeting in notches, the way a brain's folds show at its edge.
struct Lobes {
    double cx;
    double cy;
    double rx;
    double ry;
    int lobes;
    double depth; // notch depth as a fraction of the radii
    double phase; // turn of the first notch, radians
};

Point LobePoint(const Lobes& l, double t, double scale) {
    const double bulge = std::abs(std::sin(0.5 * l.lobes * (t - l.phase)));
    const double r = scale * (1.0 - l.depth + l.depth * std::sqrt(bulge));
    return {l.cx + l.rx * r * std::cos(t), l.cy + l.ry * r * std::sin(t)};
}

void TraceLobes(cairo_t* cr, const Lobes& l, double scale) {
    constexpr int kSteps = 720;
    for (int i = 0; i <= kSteps; ++i) {
        const Point p = LobePoint(l, 2.0 * std::numbers::pi * i / kSteps, scale);
        if (i == 0) {
            cairo_move_to(cr, p.x, p.y);
        } else {
            cairo_line_to(cr, p.x, p.y);
        }
    }
    cairo_close_path(cr);
}

// From every notch a fold runs inwards, bending a little to alternate sides.
void TraceFolds(cairo_t* cr, const Lobes& l, double scale, double length) {
    for (int k = 0; k < l.lobes; ++k) {
        const double t = l.phase + 2.0 * std::numbers::pi * k / l.lobes;
        const Point from = LobePoint(l, t, scale);
        const Point to = LobePoint(l, t, scale - length);
        const double bend = (k % 2 == 0 ? 1.0 : -1.0) * length * 18.0;
        const Point side{-std::sin(t) * bend, std::cos(t) * bend};
        cairo_move_to(cr, from.x, from.y);
        cairo_curve_to(cr, (2 * from.x + to.x) / 3 + side.x, (2 * from.y + to.y) / 3 + side.y,
                       (from.x + 2 * to.x) / 3 - side.x, (from.y + 2 * to.y) / 3 - side.y, to.x,
                       to.y);
    }
}

void DrawProfile(cairo_t* cr) {
    cairo_move_to(cr, kProfileStart.x, kProfileStart.y);
    for (const Curve& c : kProfile) {
        cairo_curve_to(cr, c.c1.x, c.c1.y, c.c2.x, c.c2.y, c.to.x, c.to.y);
    }
    cairo_set_line_width(cr, 1.4);
    SetColour(cr, palette::kLine.WithAlpha(0.22));
    cairo_stroke(cr);
}

void DrawBrain(cairo_t* cr) {
    const Lobes cerebrum{2, -22, 66, 54, 13, 0.07, 0.25};
    const Lobes inner{2, -22, 66, 54, 17, 0.06, 0.0};
    const Lobes cerebellum{-36, 28, 22, 12, 7, 0.12, 0.3};

    TraceLobes(cr, cerebrum, 1.0);
    cairo_set_line_width(cr, 1.2);
    SetColour(cr, palette::kLine.WithAlpha(0.2));
    cairo_stroke(cr);
    TraceFolds(cr, cerebrum, 1.0, 0.1);
    TraceLobes(cr, inner, 0.82);
    TraceFolds(cr, inner, 0.82, 0.08);
    cairo_set_line_width(cr, 1.0);
    SetColour(cr, palette::kLine.WithAlpha(0.12));
    cairo_stroke(cr);

    // Cerebellum and stem, only where the cerebrum does not cover them.
    cairo_save(cr);
    cairo_rectangle(cr, -200, -200, 400, 400);
    TraceLobes(cr, cerebrum, 1.0);
    cairo_set_fill_rule(cr, CAIRO_FILL_RULE_EVEN_ODD);
    cairo_clip(cr);
    TraceLobes(cr, cerebellum, 1.0);
    cairo_set_line_width(cr, 1.1);
    SetColour(cr, palette::kLine.WithAlpha(0.16));
    cairo_stroke(cr);
    cairo_move_to(cr, -16, 20);
    cairo_curve_to(cr, -16, 32, -20, 44, -24, 60);
    cairo_move_to(cr, -4, 20);
    cairo_curve_to(cr, -4, 34, -8, 46, -10, 60);
    SetColour(cr, palette::kLine.WithAlpha(0.13));
    cairo_stroke(cr);
    cairo_restore(cr);
}

} // namespace

void DrawHeadAndBrain(cairo_t* cr, double x, double y) {
    cairo_save(cr);
    cairo_translate(cr, x, y);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    DrawBrain(cr);
    DrawProfile(cr);
    cairo_restore(cr);
}

void DrawVendorMark(cairo_t* cr, double x, double y) {
    constexpr double r = 11.0;
    constexpr double offset = 7.0;
    cairo_save(cr);
    cairo_translate(cr, x, y);
    // Where the two rings overlap, a lens in the accent colour.
    cairo_save(cr);
    Circle(cr, -offset, 0, r);
    cairo_clip(cr);
    Circle(cr, offset, 0, r);
    SetColour(cr, palette::kAccent.WithAlpha(0.85));
    cairo_fill(cr);
    cairo_restore(cr);
    cairo_set_line_width(cr, 1.6);
    Circle(cr, -offset, 0, r);
    Circle(cr, offset, 0, r);
    SetColour(cr, Hex(0xffffff, 0.75));
    cairo_stroke(cr);
    cairo_restore(cr);
}

} // namespace artwork
