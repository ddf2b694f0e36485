#include "resources/artwork/Preview.h"

#include "engine/SegmentEnvelope.h"
#include "resources/artwork/EditorLayout.h"
#include "resources/artwork/Knobs.h"

#include <cmath>
#include <numbers>

namespace artwork {
namespace {

using layout::Box;

void Paint(cairo_t* cr, const Canvas& picture, double x, double y, double alpha = 1.0) {
    cairo_set_source_surface(cr, picture.Surface(), x, y);
    cairo_paint_with_alpha(cr, alpha);
}

// Part of a picture (a frame or a half) placed at (x, y).
void PaintPart(cairo_t* cr, const Canvas& picture, double srcX, double srcY, double width,
               double height, double x, double y, double alpha = 1.0) {
    cairo_save(cr);
    cairo_rectangle(cr, x, y, width, height);
    cairo_clip(cr);
    Paint(cr, picture, x - srcX, y - srcY, alpha);
    cairo_restore(cr);
}

// The body as it stands, then the cap turned about the knob's centre.
void PaintKnob(cairo_t* cr, const Canvas& strip, const layout::KnobPlace& k, double value) {
    const double half = k.size * 0.5;
    PaintPart(cr, strip, k.size, 0, k.size, k.size, k.x - half, k.y - half);
    const double degrees = (2.0 * value - 1.0) * kKnobSweepDegrees * 0.5;
    cairo_save(cr);
    cairo_translate(cr, k.x, k.y);
    cairo_rotate(cr, degrees * std::numbers::pi / 180.0);
    cairo_rectangle(cr, -half, -half, k.size, k.size);
    cairo_clip(cr);
    cairo_set_source_surface(cr, strip.Surface(), -half, -half);
    cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_BILINEAR);
    cairo_paint(cr);
    cairo_restore(cr);
}

// An idle slider handle is drawn dimmed, as the editor does.
constexpr double kIdleHandle = 0.8;

void PaintVerticalSlider(cairo_t* cr, const Canvas& handle, const Box& box, double value,
                         bool bar) {
    const double travel = box.Height() - layout::kHandle;
    const double top = std::round(travel * (1.0 - value) + box.top);
    if (bar) {
        const double mid = box.CentreX();
        cairo_rectangle(cr, mid - 1.0, top + layout::kHandle / 2, 2.0,
                        box.top + travel + layout::kHandle - 1 - (top + layout::kHandle / 2));
        cairo_set_source_rgb(cr, 66 / 255.0, 110 / 255.0, 170 / 255.0);
        cairo_fill(cr);
    }
    Paint(cr, handle, box.left, top, kIdleHandle);
}

void PaintHorizontalSlider(cairo_t* cr, const Canvas& handle, const Box& box, double value) {
    const double travel = box.Width() - layout::kHandle;
    Paint(cr, handle, std::round(travel * value + box.left), box.top, kIdleHandle);
}

void SampleText(cairo_t* cr, const char* text, const Box& box, Align align, const FontSpec& font,
                double alpha) {
    const double x = align == Align::Left    ? box.left
                     : align == Align::Right ? box.right
                                             : box.CentreX();
    const double baseline = std::round(box.CentreY() + font.size * 0.36);
    DrawText(cr, text, x, baseline, align, font, Hex(0xffffff, alpha / 255.0));
}

// A graph's curve, end markers, one inner point and a few tone dots, in the graph's colours.
void SampleGraph(cairo_t* cr, const Box& graph, SegmentEnvelope env) {
    const Box plot = layout::PlotOf(graph);
    const int width = plot.Width();
    env.Prepare(static_cast<float>(width));
    auto y = [&](double v) { return plot.bottom - plot.Height() * v; };
    cairo_move_to(cr, plot.left, plot.bottom);
    for (int c = 1; c <= width; ++c) {
        env.Seek((c - 1.0) / width);
        cairo_line_to(cr, plot.left + c, std::trunc(y(env.value)));
    }
    cairo_set_line_width(cr, 2.2);
    cairo_set_source_rgb(cr, 180 / 255.0, 180 / 255.0, 180 / 255.0);
    cairo_stroke(cr);
    Circle(cr, plot.left, y(env.start), 5);
    Circle(cr, plot.right, y(env.endLevels[env.count - 1]), 5);
    cairo_fill(cr);
    cairo_set_source_rgb(cr, 0, 230 / 255.0, 90 / 255.0);
    for (int i = 0; i < env.count; ++i) {
        const double xs = width * env.LeftBoundary(i);
        const double xe = width * env.RightBoundary(i);
        env.Seek((xs + xe) * 0.5 / width);
        Circle(cr, plot.left + (xs + xe) * 0.5, y(env.value), 3);
        if (i < env.count - 1) Circle(cr, plot.left + xe - 1, y(env.endLevels[i]), 5);
    }
    cairo_fill(cr);
    cairo_set_source_rgb(cr, 0, 100 / 255.0, 230 / 255.0);
    for (const double x : {0.12, 0.37, 0.62, 0.87}) {
        env.Seek(x);
        Circle(cr, plot.left + width * x, y(env.value), 3);
    }
    cairo_fill(cr);
}

void SampleSweepDots(cairo_t* cr) {
    const Box& s = layout::kSweep;
    const double travel = s.Height() - 4;
    const double x = static_cast<int>((s.left + s.right) * 0.5);
    for (const double p : {0.12, 0.37, 0.62, 0.87}) {
        Circle(cr, x, s.bottom - 2 - travel * p, 2);
        cairo_set_source_rgba(cr, 1, 1, 1, p < 0.2 ? 0.6 * p * 5 : 0.6);
        cairo_fill(cr);
    }
}

} // namespace

void DrawKnobSheet(Canvas& target, const std::vector<Picture>& pictures) {
    cairo_t* cr = target.Context();
    cairo_rectangle(cr, 0, 0, target.Width(), target.Height());
    SetColour(cr, Hex(0x131d3d));
    cairo_fill(cr);
    const char* files[] = {"img/knob.png", "img/knob2.png", "img/knob3.png"};
    int top = 0;
    for (const char* file : files) {
        const Canvas& strip = *FindPicture(pictures, file);
        const int size = strip.Height();
        for (int i = 0; i < 7; ++i) {
            PaintKnob(cr, strip, {50 + 100 * i, top + size / 2 + 4, size}, i / 6.0);
        }
        top += size + 8;
    }
}

void DrawPreview(Canvas& target, const std::vector<Picture>& pictures) {
    cairo_t* cr = target.Context();
    auto picture = [&](const char* file) -> const Canvas& { return *FindPicture(pictures, file); };

    Paint(cr, picture("img/bg.png"), 0, 0);
    PaintKnob(cr, picture("img/knob.png"), layout::kBinaural, 0.32);
    PaintKnob(cr, picture("img/knob2.png"), layout::kLowFreq, 0.0);
    PaintKnob(cr, picture("img/knob2.png"), layout::kHighFreq, 1.0);
    PaintKnob(cr, picture("img/knob3.png"), layout::kRate, 0.62);
    PaintKnob(cr, picture("img/knob3.png"), layout::kVolume, 0.5);

    const Canvas& vertical = picture("img/slider_vert.png");
    const Canvas& horizontal = picture("img/slider.png");
    PaintVerticalSlider(cr, vertical, layout::kLowSlider, 0.5, true);
    PaintVerticalSlider(cr, vertical, layout::kMidSlider, 0.8, true);
    PaintVerticalSlider(cr, vertical, layout::kHighSlider, 0.25, true);
    PaintVerticalSlider(cr, vertical, layout::kWaveSlider, 3.0 / 6.0, false);
    PaintHorizontalSlider(cr, horizontal, layout::kSpreadSlider, 0.4);
    PaintHorizontalSlider(cr, horizontal, layout::kPanSlider, 1.0);
    PaintHorizontalSlider(cr, horizontal, layout::kTonesSlider, 6.0 / 15.0);

    const Box& wave = layout::kWavePicture;
    PaintPart(cr, picture("img/waves.png"), 0, 3 * wave.Height(), wave.Width(), wave.Height(),
              wave.left, wave.top);
    Paint(cr, picture("img/but_play.png"), layout::kPlayButton.left, layout::kPlayButton.top);
    const Box& sw = layout::kGraphSwitch;
    const double switchLeft = sw.left + std::round((sw.Width() - layout::kSwitchWidth) * 0.5);
    PaintPart(cr, picture("img/gph_show.png"), 0, 0, layout::kSwitchWidth, layout::kSwitchHeight,
              switchLeft, sw.top);
    const Box hovered = layout::PresetFaceOf(layout::kVolumeGraph, 2);
    Paint(cr, picture("img/preset.png"), hovered.left, hovered.top);

    SampleText(cr, "v1.0 i", layout::kVersion, Align::Left, {"DejaVu Sans", 13}, 100);
    SampleText(cr, "Binaural: 7.83Hz", layout::kStatus, Align::Centre, {"Liberation Sans", 14},
               160);
    SampleText(cr, "THETA", layout::kBand, Align::Right, {"Liberation Sans", 15}, 200);
    SampleText(cr, "7.83 Hz", layout::kBeat, Align::Right, {"Liberation Sans", 13}, 230);

    SegmentEnvelope freq;
    freq.Init(true);
    freq.curvatures[0] = 3.0f;
    SampleGraph(cr, layout::kFreqGraph, freq);
    SegmentEnvelope volume;
    volume.Init(false);
    SampleGraph(cr, layout::kVolumeGraph, volume);
    SampleSweepDots(cr);
}

} // namespace artwork
