#include "resources/artwork/Waves.h"

#include "engine/ParamIds.h"
#include "engine/Waveforms.h"
#include "resources/artwork/Palette.h"

namespace artwork {
namespace {

constexpr double kMarginX = 5.0;
constexpr double kAmplitude = 12.0;
constexpr int kSamples = 400;
// The "Wave" entries from this one on are the golden waveforms.
constexpr int kFirstGolden = 3;

void TraceWave(cairo_t* cr, const OscillatorBank& bank, double top) {
    const double mid = top + kWaveFrameHeight * 0.5;
    const double span = kWaveFrameWidth - 2.0 * kMarginX;
    for (int i = 0; i <= kSamples; ++i) {
        // The last sample stays just inside the period, which ends where the next one starts.
        const double t = i < kSamples ? static_cast<double>(i) / kSamples : 1.0 - 1e-9;
        const double y = bank.waveFunction(bank, t * 2.0 * kPi);
        const double px = kMarginX + t * span;
        const double py = mid - y * kAmplitude;
        if (i == 0) {
            cairo_move_to(cr, px, py);
        } else {
            cairo_line_to(cr, px, py);
        }
    }
}

} // namespace

void DrawWaveStrip(Canvas& canvas) {
    cairo_t* cr = canvas.Context();
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    for (int entry = 0; entry < kWaveCount; ++entry) {
        OscillatorBank bank;
        SetWave(bank, kWave, entry);
        const double top = entry * static_cast<double>(kWaveFrameHeight);
        const bool golden = entry >= kFirstGolden;
        TraceWave(cr, bank, top);
        cairo_set_line_width(cr, 4.0);
        SetColour(cr, (golden ? palette::kGold : palette::kAccent).WithAlpha(0.22));
        cairo_stroke_preserve(cr);
        cairo_set_line_width(cr, 1.6);
        SetColour(cr, golden ? palette::kGoldCore : palette::kAccentCore);
        cairo_stroke(cr);
        // A golden waveform is marked with a small phi in the corner, dimmer than the wave.
        if (golden)
            DrawText(cr, "\u03c6", kWaveFrameWidth - 3.0, top + 10.0, Align::Right,
                     {"Liberation Sans", 10.0}, palette::kGold.WithAlpha(0.75));
    }
}

} // namespace artwork
