#include "resources/artwork/SmallControls.h"

#include "resources/artwork/Palette.h"

namespace artwork {

void DrawSliderHandle(Canvas& canvas, HandleAxis axis) {
    cairo_t* cr = canvas.Context();
    constexpr double c = 8.0;

    Circle(cr, c, c + 0.8, 7.4);
    SetColour(cr, Hex(0x000000, 0.45));
    cairo_fill(cr);

    cairo_pattern_t* face = cairo_pattern_create_linear(0, c - 6.5, 0, c + 6.5);
    AddColourStop(face, 0.0, Hex(0x5a6a92));
    AddColourStop(face, 1.0, Hex(0x1b2236));
    Circle(cr, c, c, 6.5);
    cairo_set_source(cr, face);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(face);
    cairo_set_line_width(cr, 1.0);
    SetColour(cr, Hex(0x9fb6ea, 0.55));
    cairo_stroke(cr);

    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_set_line_width(cr, 2.0);
    if (axis == HandleAxis::Horizontal) {
        cairo_move_to(cr, c, c - 3.5);
        cairo_line_to(cr, c, c + 3.5);
    } else {
        cairo_move_to(cr, c - 3.5, c);
        cairo_line_to(cr, c + 3.5, c);
    }
    SetColour(cr, palette::kAccentCore);
    cairo_stroke(cr);
}

void DrawPlayButton(cairo_t* cr, double x, double y, ButtonLight light) {
    const bool on = light == ButtonLight::On;
    cairo_save(cr);
    cairo_translate(cr, x, y);

    // Face, lit from above.
    RoundedRect(cr, 1.0, 1.5, 30.0, 30.0, 6.0);
    SetColour(cr, Hex(0x000000, 0.5));
    cairo_fill(cr);
    cairo_pattern_t* face = cairo_pattern_create_linear(0, 1, 0, 30);
    AddColourStop(face, 0.0, on ? Hex(0x3b4a72) : Hex(0x323c58));
    AddColourStop(face, 1.0, on ? Hex(0x1a2340) : Hex(0x161c2c));
    RoundedRect(cr, 1.0, 0.5, 30.0, 30.0, 6.0);
    cairo_set_source(cr, face);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(face);
    cairo_set_line_width(cr, 1.0);
    SetColour(cr, on ? palette::kAccent.WithAlpha(0.7) : Hex(0x8ea4d8, 0.35));
    cairo_stroke(cr);

    // Play triangle, its weight centred in the face.
    cairo_move_to(cr, 12.5, 9.0);
    cairo_line_to(cr, 22.5, 15.5);
    cairo_line_to(cr, 12.5, 22.0);
    cairo_close_path(cr);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    if (on) {
        cairo_set_line_width(cr, 4.0);
        SetColour(cr, palette::kAccent.WithAlpha(0.35));
        cairo_stroke_preserve(cr);
        SetColour(cr, palette::kAccentCore);
        cairo_fill_preserve(cr);
        cairo_set_line_width(cr, 1.0);
        cairo_stroke(cr);
    } else {
        cairo_set_line_width(cr, 1.3);
        SetColour(cr, Hex(0xffffff, 0.45));
        cairo_stroke(cr);
    }

    // Lamp under the face.
    RoundedRect(cr, 9.0, 35.0, 14.0, 3.0, 1.5);
    if (on) {
        cairo_set_line_width(cr, 3.0);
        SetColour(cr, palette::kAccent.WithAlpha(0.35));
        cairo_stroke_preserve(cr);
        SetColour(cr, palette::kAccent);
        cairo_fill(cr);
    } else {
        SetColour(cr, palette::kGroove);
        cairo_fill_preserve(cr);
        cairo_set_line_width(cr, 1.0);
        SetColour(cr, Hex(0x8ea4d8, 0.2));
        cairo_stroke(cr);
    }
    cairo_restore(cr);
}

void DrawGraphSwitch(Canvas& canvas) {
    cairo_t* cr = canvas.Context();
    const char* labels[2] = {"pos", "freq"};
    constexpr double kHalf = 28.5;
    for (int frame = 0; frame < 2; ++frame) {
        const double top = frame * 16.0;
        RoundedRect(cr, 0.5, top + 0.5, 56.0, 15.0, 7.5);
        SetColour(cr, palette::kGroove);
        cairo_fill_preserve(cr);
        cairo_set_line_width(cr, 1.0);
        SetColour(cr, Hex(0x8ea4d8, 0.35));
        cairo_stroke(cr);

        const double lit = frame * kHalf;
        RoundedRect(cr, lit + 1.5, top + 1.5, kHalf - 2.0, 13.0, 6.5);
        SetColour(cr, palette::kSteel);
        cairo_fill_preserve(cr);
        SetColour(cr, palette::kAccent.WithAlpha(0.6));
        cairo_stroke(cr);

        for (int side = 0; side < 2; ++side) {
            // The unlit side dim but legible: about 3:1 against the groove, the lit one 5:1.
            const Rgba colour = side == frame ? Hex(0xffffff) : Hex(0xffffff, 0.35);
            DrawText(cr, labels[side], side * kHalf + kHalf * 0.5 + 0.5, top + 11.0, Align::Centre,
                     {"Liberation Sans", 10.0}, colour);
        }
    }
}

void DrawPresetHover(Canvas& canvas) {
    cairo_t* cr = canvas.Context();
    RoundedRect(cr, 0.5, 0.5, 26.0, 26.0, 5.0);
    SetColour(cr, palette::kAccent.WithAlpha(0.12));
    cairo_fill_preserve(cr);
    cairo_set_line_width(cr, 1.0);
    SetColour(cr, palette::kAccent.WithAlpha(0.9));
    cairo_stroke(cr);
    RoundedRect(cr, 1.5, 1.5, 24.0, 24.0, 4.0);
    SetColour(cr, palette::kAccent.WithAlpha(0.25));
    cairo_stroke(cr);
}

} // namespace artwork
