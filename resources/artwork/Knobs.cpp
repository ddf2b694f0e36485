#include "resources/artwork/Knobs.h"

#include "resources/artwork/Palette.h"

#include <algorithm>
#include <cmath>

namespace artwork {
namespace {

// Every fifth tick is a major one, so the ends and the middle stand out.
constexpr int kMajorEvery = 5;

struct KnobGeometry {
    double centre;    // of either half, in its own coordinates
    double cap;       // radius of the turning cap
    double tickOuter; // outer end of every scale tick
    double minorTick; // length of a minor tick
    double majorTick; // length of a major tick
    double unit;      // size / 92, for line widths
    int tickCount;    // ticks over the sweep, both ends included
};

KnobGeometry GeometryFor(int size) {
    KnobGeometry g{};
    g.centre = size * 0.5;
    g.unit = size / 92.0;
    g.cap = std::round(size * 0.36);
    g.tickOuter = size * 0.5 - 1.5;
    g.minorTick = std::max(2.5, size * 0.055);
    g.majorTick = std::max(3.5, size * 0.09);
    g.tickCount = size >= 80 ? 21 : 11;
    return g;
}

void DrawCap(cairo_t* cr, const KnobGeometry& g) {
    const double c = g.centre;
    cairo_pattern_t* face = cairo_pattern_create_radial(c, c, 0.0, c, c, g.cap);
    AddColourStop(face, 0.0, Hex(0x343f5a));
    AddColourStop(face, 0.75, Hex(0x252d44));
    AddColourStop(face, 1.0, Hex(0x171c2c));
    Circle(cr, c, c, g.cap);
    cairo_set_source(cr, face);
    cairo_fill(cr);
    cairo_pattern_destroy(face);

    // Fine turned rings, the same at every angle.
    cairo_set_line_width(cr, 0.6);
    for (double r = g.cap * 0.2; r < g.cap - 2.0; r += std::max(1.6, 2.2 * g.unit)) {
        Circle(cr, c, c, r);
        SetColour(cr, Hex(0xffffff, 0.025));
        cairo_stroke(cr);
    }

    // Rim: a dark edge with a thin light lip inside it.
    cairo_set_line_width(cr, 1.0);
    Circle(cr, c, c, g.cap - 0.5);
    SetColour(cr, Hex(0x000000, 0.6));
    cairo_stroke(cr);
    Circle(cr, c, c, g.cap - 1.6);
    SetColour(cr, Hex(0xbcd0ff, 0.16));
    cairo_stroke(cr);

    // The pointer: a bright bar from near the middle to the rim, haloed so that it reads
    // against the dark cap and the scale at any angle.
    const double inner = g.cap * 0.28;
    const double outer = g.cap - 2.6;
    const double core = std::max(2.2, 3.0 * g.unit);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_move_to(cr, c, c - inner);
    cairo_line_to(cr, c, c - outer);
    cairo_set_line_width(cr, core + 4.0 * std::max(1.0, g.unit));
    SetColour(cr, palette::kAccent.WithAlpha(0.28));
    cairo_stroke_preserve(cr);
    cairo_set_line_width(cr, core + 1.6);
    SetColour(cr, Hex(0x000000, 0.55));
    cairo_stroke_preserve(cr);
    cairo_set_line_width(cr, core);
    SetColour(cr, palette::kAccentCore);
    cairo_stroke(cr);
}

void DrawBody(cairo_t* cr, const KnobGeometry& g) {
    const double c = g.centre;

    // Soft shadow under the cap, cast downwards.
    cairo_pattern_t* shadow =
        cairo_pattern_create_radial(c, c + 2.0 * g.unit + 1.0, g.cap - 3.0, c,
                                    c + 2.0 * g.unit + 1.0, g.cap + 4.0 + 3.0 * g.unit);
    AddColourStop(shadow, 0.0, Hex(0x000000, 0.7));
    AddColourStop(shadow, 1.0, Hex(0x000000, 0.0));
    cairo_rectangle(cr, 0, 0, 2.0 * c, 2.0 * c);
    cairo_set_source(cr, shadow);
    cairo_fill(cr);
    cairo_pattern_destroy(shadow);

    // Bevel around the cap, lit from above.
    cairo_pattern_t* bevel = cairo_pattern_create_linear(0, c - g.cap, 0, c + g.cap);
    AddColourStop(bevel, 0.0, Hex(0x6a7aa4));
    AddColourStop(bevel, 0.5, Hex(0x2a3350));
    AddColourStop(bevel, 1.0, Hex(0x0a0e1a));
    Circle(cr, c, c, g.cap + 1.5);
    cairo_set_source(cr, bevel);
    cairo_fill(cr);
    cairo_pattern_destroy(bevel);
    Circle(cr, c, c, g.cap);
    SetColour(cr, Hex(0x10141f));
    cairo_fill(cr);

    // Scale ticks over the sweep; the ends and the middle are major ticks.
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    for (int i = 0; i < g.tickCount; ++i) {
        const double degrees = -kKnobSweepDegrees * 0.5 + kKnobSweepDegrees * i / (g.tickCount - 1);
        const bool major = i % kMajorEvery == 0;
        const double length = major ? g.majorTick : g.minorTick;
        const double dx = UpAngleX(degrees);
        const double dy = UpAngleY(degrees);
        cairo_move_to(cr, c + dx * (g.tickOuter - length), c + dy * (g.tickOuter - length));
        cairo_line_to(cr, c + dx * g.tickOuter, c + dy * g.tickOuter);
        cairo_set_line_width(cr, major ? std::max(1.4, 1.8 * g.unit) : std::max(1.0, 1.2 * g.unit));
        SetColour(cr, Hex(0xdbe6ff, major ? 0.75 : 0.38));
        cairo_stroke(cr);
    }
}

} // namespace

void DrawKnobStrip(Canvas& canvas, int size) {
    const KnobGeometry g = GeometryFor(size);
    cairo_t* cr = canvas.Context();
    DrawCap(cr, g);
    cairo_save(cr);
    cairo_translate(cr, size, 0);
    DrawBody(cr, g);
    cairo_restore(cr);
}

} // namespace artwork
