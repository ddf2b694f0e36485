#include "resources/artwork/PresetIcons.h"

#include "engine/SegmentEnvelope.h"
#include "resources/artwork/Palette.h"

#include <cmath>

namespace artwork {
namespace {

constexpr int kPresetCount = 5;
constexpr float kFrequencyCurvatures[kPresetCount] = {-6.0f, -3.0f, 0.0f, 3.0f, 6.0f};
constexpr float kVolumeOuterPoints[kPresetCount] = {0.35f, 0.3f, 0.25f, 0.2f, 0.15f};
constexpr float kSteps = 400.0f;

// The envelope a preset button sets, prepared for sampling.
SegmentEnvelope PresetEnvelope(GraphKind kind, int b) {
    SegmentEnvelope env;
    env.Init(kind == GraphKind::Frequency);
    if (kind == GraphKind::Frequency) {
        env.curvatures[0] = kFrequencyCurvatures[b];
    } else {
        env.innerPoints[0] = kVolumeOuterPoints[b];
        env.innerPoints[1] = 0.5f;
        env.innerPoints[2] = 1.0f - kVolumeOuterPoints[b];
    }
    env.Prepare(kSteps);
    return env;
}

void DrawFace(cairo_t* cr, const layout::Box& face) {
    RoundedRect(cr, face.left + 0.5, face.top + 0.5, face.Width() - 1.0, face.Height() - 1.0, 5.0);
    cairo_pattern_t* fill = cairo_pattern_create_linear(0, face.top, 0, face.bottom);
    AddColourStop(fill, 0.0, Hex(0x1a2442));
    AddColourStop(fill, 1.0, Hex(0x0f1529));
    cairo_set_source(cr, fill);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(fill);
    cairo_set_line_width(cr, 1.0);
    SetColour(cr, Hex(0x5c74b4, 0.45));
    cairo_stroke(cr);
}

// Traces the envelope's curve across the icon's area.
void TraceCurve(cairo_t* cr, SegmentEnvelope& env, double left, double right, double top,
                double bottom) {
    constexpr int kPoints = 60;
    for (int i = 0; i <= kPoints; ++i) {
        const double x = static_cast<double>(i) / kPoints;
        env.Seek(x);
        const double px = left + (right - left) * x;
        const double py = bottom - (bottom - top) * env.value;
        if (i == 0) {
            cairo_move_to(cr, px, py);
        } else {
            cairo_line_to(cr, px, py);
        }
    }
}

// A volume shape's width made plain: the part of the swell above half level filled, with a bar
// across its foot from the first to the third inner point.
void DrawSwellWidth(cairo_t* cr, SegmentEnvelope& env, double left, double right, double top,
                    double bottom, int b) {
    const double half = std::round((top + bottom) * 0.5) + 0.5;
    cairo_save(cr);
    cairo_rectangle(cr, left, top - 2.0, right - left, half - top + 2.0);
    cairo_clip(cr);
    TraceCurve(cr, env, left, right, top, bottom);
    cairo_close_path(cr);
    SetColour(cr, palette::kAccent.WithAlpha(0.4));
    cairo_fill(cr);
    cairo_restore(cr);

    const double x0 = left + (right - left) * kVolumeOuterPoints[b];
    const double x2 = right - (right - left) * kVolumeOuterPoints[b];
    cairo_move_to(cr, x0, half);
    cairo_line_to(cr, x2, half);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_set_line_width(cr, 1.4);
    SetColour(cr, palette::kAccent);
    cairo_stroke(cr);
}

void DrawIcon(cairo_t* cr, const layout::Box& face, GraphKind kind, int b) {
    // The volume shapes take a little more of the face, so their widths part further.
    const double inset = kind == GraphKind::Volume ? 4.5 : 5.5;
    const double left = face.left + inset;
    const double right = face.right - inset;
    const double top = face.top + 6.5;
    const double bottom = face.bottom - 6.5;

    cairo_move_to(cr, left - 1.0, bottom + 0.5);
    cairo_line_to(cr, right + 1.0, bottom + 0.5);
    cairo_set_line_width(cr, 1.0);
    SetColour(cr, Hex(0xffffff, 0.12));
    cairo_stroke(cr);

    SegmentEnvelope env = PresetEnvelope(kind, b);
    if (kind == GraphKind::Volume) DrawSwellWidth(cr, env, left, right, top, bottom, b);
    TraceCurve(cr, env, left, right, top, bottom);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_set_line_width(cr, 1.6);
    SetColour(cr, Hex(0xd6e2ff, 0.9));
    cairo_stroke(cr);
}

} // namespace

void DrawPresetColumn(cairo_t* cr, const layout::Box& graph, GraphKind kind) {
    for (int b = 0; b < kPresetCount; ++b) {
        const layout::Box face = layout::PresetFaceOf(graph, b);
        DrawFace(cr, face);
        DrawIcon(cr, face, kind, b);
    }
}

} // namespace artwork
