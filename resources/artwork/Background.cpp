#include "resources/artwork/Background.h"

#include "resources/artwork/EditorLayout.h"
#include "resources/artwork/Illustration.h"
#include "resources/artwork/Palette.h"
#include "resources/artwork/PresetIcons.h"
#include "resources/artwork/SmallControls.h"

#include <cmath>

namespace artwork {
namespace {

using layout::Box;

void DrawGround(cairo_t* cr) {
    cairo_pattern_t* ground = cairo_pattern_create_linear(0, 0, 0, layout::kHeight);
    AddColourStop(ground, 0.0, palette::kGroundTop);
    AddColourStop(ground, 1.0, palette::kGroundBottom);
    cairo_rectangle(cr, 0, 0, layout::kWidth, layout::kHeight);
    cairo_set_source(cr, ground);
    cairo_fill(cr);
    cairo_pattern_destroy(ground);

    // A soft light behind the central knob.
    const layout::KnobPlace& k = layout::kBinaural;
    cairo_pattern_t* glow = cairo_pattern_create_radial(k.x, k.y - 10, 0, k.x, k.y - 10, 150);
    AddColourStop(glow, 0.0, palette::kGlow.WithAlpha(0.45));
    AddColourStop(glow, 1.0, palette::kGlow.WithAlpha(0.0));
    cairo_rectangle(cr, 0, 0, layout::kWidth, layout::kHeight);
    cairo_set_source(cr, glow);
    cairo_fill(cr);
    cairo_pattern_destroy(glow);

    // Corners sink into the dark.
    cairo_pattern_t* vignette =
        cairo_pattern_create_radial(layout::kWidth * 0.5, layout::kHeight * 0.5, 230,
                                    layout::kWidth * 0.5, layout::kHeight * 0.5, 420);
    AddColourStop(vignette, 0.0, Hex(0x000000, 0.0));
    AddColourStop(vignette, 1.0, Hex(0x000000, 0.35));
    cairo_rectangle(cr, 0, 0, layout::kWidth, layout::kHeight);
    cairo_set_source(cr, vignette);
    cairo_fill(cr);
    cairo_pattern_destroy(vignette);
}

// A dark recessed panel with a light lower edge and a shaded upper one.
void DrawInset(cairo_t* cr, double x, double y, double width, double height, double radius) {
    RoundedRect(cr, x - 0.5, y - 0.5, width + 1.0, height + 1.0, radius + 0.5);
    SetColour(cr, palette::kPanelEdge.WithAlpha(0.55));
    cairo_fill(cr);
    cairo_pattern_t* fill = cairo_pattern_create_linear(0, y, 0, y + height);
    AddColourStop(fill, 0.0, palette::kPanel);
    AddColourStop(fill, 1.0, palette::kPanelLift);
    RoundedRect(cr, x + 0.5, y + 0.5, width - 1.0, height - 1.0, radius);
    cairo_set_source(cr, fill);
    cairo_fill(cr);
    cairo_pattern_destroy(fill);
    cairo_move_to(cr, x + radius, y + 1.5);
    cairo_line_to(cr, x + width - radius, y + 1.5);
    cairo_set_line_width(cr, 1.0);
    SetColour(cr, palette::kPanelShade);
    cairo_stroke(cr);
}

void DrawGroove(cairo_t* cr, double x1, double y1, double x2, double y2) {
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_move_to(cr, x1, y1 + 0.5);
    cairo_line_to(cr, x2, y2 + 0.5);
    cairo_set_line_width(cr, 5.0);
    SetColour(cr, Hex(0x7e97d0, 0.22));
    cairo_stroke(cr);
    cairo_move_to(cr, x1, y1);
    cairo_line_to(cr, x2, y2);
    cairo_set_line_width(cr, 4.0);
    SetColour(cr, palette::kGroove);
    cairo_stroke(cr);
}

void DrawVerticalSliderTrack(cairo_t* cr, const Box& box) {
    const double x = box.CentreX();
    DrawGroove(cr, x, box.top + 5.0, x, box.bottom - 5.0);
}

void DrawHorizontalSliderTrack(cairo_t* cr, const Box& box) {
    const double y = box.CentreY();
    DrawGroove(cr, box.left + 5.0, y, box.right - 5.0, y);
}

// Short ticks beside a track at the handle centres of `steps` evenly spaced values.
void DrawStepTicks(cairo_t* cr, const Box& box, int steps, bool vertical) {
    const double travel = (vertical ? box.Height() : box.Width()) - layout::kHandle;
    cairo_set_line_width(cr, 1.0);
    for (int i = 0; i < steps; ++i) {
        const double along = layout::kHandle * 0.5 + travel * i / (steps - 1);
        if (vertical) {
            const double y = std::round(box.top + along) + 0.5;
            cairo_move_to(cr, box.right + 2.0, y);
            cairo_line_to(cr, box.right + 5.0, y);
        } else {
            const double x = std::round(box.left + along) + 0.5;
            cairo_move_to(cr, x, box.bottom + 1.0);
            cairo_line_to(cr, x, box.bottom + 4.0);
        }
    }
    SetColour(cr, palette::kFaint);
    cairo_stroke(cr);
}

// Small texts under both ends of a horizontal slider's travel, their baseline `below` its box.
void EndLabels(cairo_t* cr, const Box& box, double below, const char* low, const char* high) {
    const FontSpec font{"Liberation Sans", 9.0};
    const Rgba ink = palette::kCaption.WithAlpha(0.55);
    const double baseline = box.bottom + below;
    DrawText(cr, low, box.left + layout::kHandle * 0.5 + 0.5, baseline, Align::Centre, font, ink);
    DrawText(cr, high, box.right - layout::kHandle * 0.5 + 0.5, baseline, Align::Centre, font, ink);
}

void DrawSliders(cairo_t* cr) {
    for (const Box& box :
         {layout::kLowSlider, layout::kMidSlider, layout::kHighSlider, layout::kWaveSlider}) {
        DrawVerticalSliderTrack(cr, box);
    }
    for (const Box& box : {layout::kSpreadSlider, layout::kPanSlider, layout::kTonesSlider}) {
        DrawHorizontalSliderTrack(cr, box);
    }
    DrawStepTicks(cr, layout::kWaveSlider, 7, true);
    DrawStepTicks(cr, layout::kPanSlider, 3, false);
    // The pan's ends (the higher tones to the left or to the right ear; the middle is no beat)
    // and the least and most tones.
    EndLabels(cr, layout::kPanSlider, 13.0, "L", "R");
    EndLabels(cr, layout::kTonesSlider, 10.0, "1", "16");
}

// Two arrows side by side, one up and one down, centred on (x, y): a click swaps the sweep.
void DrawSwapHint(cairo_t* cr, double x, double y) {
    constexpr double kHalfLength = 6.0;
    constexpr double kApart = 2.5;
    constexpr double kHead = 2.5;
    for (const double dir : {-1.0, 1.0}) {
        const double ax = std::round(x + dir * kApart) + 0.5;
        const double tip = y + dir * kHalfLength;
        cairo_move_to(cr, ax, y - dir * kHalfLength);
        cairo_line_to(cr, ax, tip);
        cairo_move_to(cr, ax - kHead, tip - dir * kHead);
        cairo_line_to(cr, ax, tip);
        cairo_line_to(cr, ax + kHead, tip - dir * kHead);
    }
    cairo_set_line_width(cr, 1.0);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    SetColour(cr, palette::kCaption.WithAlpha(0.55));
    cairo_stroke(cr);
}

void DrawSweepTrack(cairo_t* cr) {
    const Box& s = layout::kSweep;
    const double x = s.CentreX() - 0.5;
    RoundedRect(cr, x - 5.0, s.top, 10.0, s.Height(), 5.0);
    SetColour(cr, palette::kPanelEdge.WithAlpha(0.5));
    cairo_fill(cr);
    RoundedRect(cr, x - 4.0, s.top + 1.0, 8.0, s.Height() - 2.0, 4.0);
    SetColour(cr, palette::kPanel);
    cairo_fill(cr);
    // Marks at the high (top) and low (bottom) ends of the travel, named on the right.
    cairo_set_line_width(cr, 1.0);
    for (const double y : {s.bottom - 2.5, s.top + 2.5}) {
        cairo_move_to(cr, x - 10.0, std::round(y) + 0.5);
        cairo_line_to(cr, x - 7.0, std::round(y) + 0.5);
        cairo_move_to(cr, x + 7.0, std::round(y) + 0.5);
        cairo_line_to(cr, x + 10.0, std::round(y) + 0.5);
    }
    SetColour(cr, palette::kFaint);
    cairo_stroke(cr);
    const FontSpec mark{"Liberation Sans", 9.0};
    DrawText(cr, "hi", x + 12.0, s.top + 6.0, Align::Left, mark, palette::kCaption);
    DrawText(cr, "lo", x + 12.0, s.bottom + 1.0, Align::Left, mark, palette::kCaption);
    DrawSwapHint(cr, x - 14.5, s.CentreY());
}

void DrawWavePanel(cairo_t* cr) {
    const Box& w = layout::kWavePicture;
    DrawInset(cr, w.left - 1, w.top - 1, w.Width() + 2, w.Height() + 2, 4.0);
    cairo_move_to(cr, w.left + 3, w.CentreY());
    cairo_line_to(cr, w.right - 3, w.CentreY());
    cairo_set_line_width(cr, 1.0);
    SetColour(cr, palette::kGrid.WithAlpha(0.16));
    cairo_stroke(cr);
}

void DrawGraphPanel(cairo_t* cr, const Box& graph, GraphKind kind) {
    const Box plot = layout::PlotOf(graph);
    DrawInset(cr, graph.left, graph.top, plot.right + 6 - graph.left, graph.Height(), 5.0);
    // Quarter lines across the plot.
    cairo_set_line_width(cr, 1.0);
    for (int i = 1; i < 4; ++i) {
        const double x = std::round(plot.left + plot.Width() * i / 4.0) + 0.5;
        const double y = std::round(plot.top + plot.Height() * i / 4.0) + 0.5;
        cairo_move_to(cr, x, plot.top);
        cairo_line_to(cr, x, plot.bottom);
        cairo_move_to(cr, plot.left, y);
        cairo_line_to(cr, plot.right, y);
    }
    SetColour(cr, palette::kGrid);
    cairo_stroke(cr);
    cairo_rectangle(cr, plot.left + 0.5, plot.top + 0.5, plot.Width() - 1.0, plot.Height() - 1.0);
    SetColour(cr, palette::kGrid.WithAlpha(0.12));
    cairo_stroke(cr);
    DrawPresetColumn(cr, graph, kind);
}

// Wipes what was drawn around the box, fading over `feather` pixels, so a text there reads.
void ClearAround(cairo_t* cr, const Box& box, double feather) {
    constexpr int kRings = 6;
    cairo_save(cr);
    cairo_set_operator(cr, CAIRO_OPERATOR_DEST_OUT);
    for (int i = 0; i < kRings; ++i) {
        const double grow = feather * (kRings - i) / kRings;
        RoundedRect(cr, box.left - grow, box.top - grow, box.Width() + 2 * grow,
                    box.Height() + 2 * grow, grow + 2.0);
        cairo_set_source_rgba(cr, 0, 0, 0, 0.4);
        cairo_fill(cr);
    }
    cairo_restore(cr);
}

void DrawIllustration(cairo_t* cr) {
    cairo_push_group(cr);
    DrawHeadAndBrain(cr, layout::kBinaural.x, layout::kBinaural.y);
    ClearAround(cr, layout::kBand, 6.0);
    ClearAround(cr, layout::kBeat, 6.0);
    cairo_pop_group_to_source(cr);
    cairo_paint(cr);
}

void DrawCaptions(cairo_t* cr) {
    const Rgba c = palette::kCaption;
    const FontSpec& f = kCaptionFont;
    DrawText(cr, "low", layout::kLowSlider.CentreX(), 130, Align::Centre, f, c);
    DrawText(cr, "mid", layout::kMidSlider.CentreX(), 130, Align::Centre, f, c);
    DrawText(cr, "high", layout::kHighSlider.CentreX(), 130, Align::Centre, f, c);
    DrawText(cr, "spread", layout::kSpreadSlider.CentreX(), 228, Align::Centre, f, c);
    DrawText(cr, "Low Freq", layout::kLowFreq.x, 117, Align::Centre, f, c);
    DrawText(cr, "High Freq", layout::kHighFreq.x, 117, Align::Centre, f, c);
    DrawText(cr, "Rate", layout::kRate.x, 235, Align::Centre, f, c);
    DrawText(cr, "Volume", layout::kVolume.x, 235, Align::Centre, f, c);
    DrawText(cr, "pan", layout::kPanSlider.left - 6, 237, Align::Right, f, c);
    DrawText(cr, "tones", layout::kTonesSlider.left - 6, 270, Align::Right, f, c);
    DrawText(cr, "wave", 535, 130, Align::Centre, f, c);
    DrawText(cr, "play", layout::kPlayButton.CentreX(), 277, Align::Centre, f, c);
    DrawText(cr, "frequency", layout::kFreqGraph.left + 6, 457, Align::Left, f, c);
    DrawText(cr, "volume", layout::kVolumeGraph.left + 6, 457, Align::Left, f, c);
    // What the "Freq Graph" switch chooses: where the frequency graph's dots are drawn.
    DrawText(cr, "dots", layout::kGraphSwitch.left - 6, 457, Align::Right, f, c);
}

void DrawTitle(cairo_t* cr) {
    const Box& t = layout::kTitle;
    const FontSpec title{"DejaVu Sans Light", 35.0};
    constexpr double kBaseline = 41.0;
    TextPath(cr, "Serivane", t.CentreX(), kBaseline, Align::Centre, title, 1.5);
    cairo_pattern_t* ink = cairo_pattern_create_linear(0, kBaseline - 26, 0, kBaseline);
    AddColourStop(ink, 0.0, Hex(0xffffff, 0.96));
    AddColourStop(ink, 1.0, Hex(0xb4d2ff, 0.9));
    cairo_set_source(cr, ink);
    cairo_fill(cr);
    cairo_pattern_destroy(ink);
    DrawVendorMark(cr, 556, 30);
}

} // namespace

void DrawBackground(Canvas& canvas) {
    cairo_t* cr = canvas.Context();
    DrawGround(cr);
    DrawIllustration(cr);
    DrawSweepTrack(cr);
    DrawSliders(cr);
    DrawWavePanel(cr);
    DrawPlayButton(cr, layout::kPlayButton.left, layout::kPlayButton.top, ButtonLight::Off);
    DrawGraphPanel(cr, layout::kFreqGraph, GraphKind::Frequency);
    DrawGraphPanel(cr, layout::kVolumeGraph, GraphKind::Volume);
    DrawCaptions(cr);
    DrawTitle(cr);
}

} // namespace artwork
