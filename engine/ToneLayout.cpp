#include "engine/ToneEngine.h"

#include <cmath>

// The lower ear is raised to 5 Hz ("Right") or 1 Hz ("Left") when the carrier lies below half
// the binaural offset, instead of going negative.
std::array<double, kEars> ToneEngine::EarIncrements(double carrier) const {
    const double k = voices_.bank.period / sampleRate_;
    double x = carrier;
    double h = settings_.binauralHz * 0.5;
    switch (settings_.panMode) {
    case PanMode::Right:
        if (x < h) {
            x = h + 5.0;
            h = x - 5.0;
        }
        return {(x - h) * k, (x + h) * k};
    case PanMode::Left:
        if (x < h) {
            x = h + 1.0;
            h = x - 1.0;
        }
        return {(h + x) * k, (x - h) * k};
    default:
        return {x * k, x * k};
    }
}

// Tone i sweeps from lowHz + i*d*spread to highHz - (n-1-i)*d*spread, d = range / n.
void ToneEngine::ComputeToneIncrements() {
    const ToneSettings& s = settings_;
    if (!initialised_ || !(sampleRate_ > 0.0) || s.toneCount < 1) return;
    const int n = s.toneCount;
    const double d = (s.highHz - s.lowHz) / static_cast<float>(n);
    for (int i = 0; i < n; ++i) {
        const double lowCarrier = s.lowHz + i * d * s.spread;
        const double highCarrier = s.highHz - (n - 1 - i) * d * s.spread;
        const auto low = EarIncrements(lowCarrier);
        const auto high = EarIncrements(highCarrier);
        for (int e = 0; e < kEars; ++e) {
            ToneIncrement& rate = voices_.bank.rates[e][i];
            rate.low = low[e];
            rate.high = high[e];
            rate.span = high[e] - low[e];
        }
    }
}

// The outer tones get "Low" and "High", the centre tone(s) "Middle", and the tones between move
// linearly from the outer levels towards 0.5.
void ToneEngine::ComputeToneLevels() {
    const ToneSettings& s = settings_;
    if (s.spread == 0.0f) return;
    const int n = s.toneCount;
    auto set = [this](int i, float w) {
        ToneLevel& level = voices_.bank.levels[i];
        level.offset = 0.0;
        level.level = w;
        level.scale = w;
    };
    if (n == 1) {
        set(0, s.middleLevel);
    } else if (n == 2) {
        set(0, s.lowLevel);
        set(1, s.highLevel);
    } else {
        const float m = (n - 1) * 0.5f;
        const float c = std::floor(m);
        const float lo = s.lowLevel - 0.5f;
        const float hi = s.highLevel - 0.5f;
        for (int i = 0; i < n; ++i) {
            if (m - 0.5f <= i && i <= m + 0.5f) {
                set(i, s.middleLevel);
            } else if (i < m) {
                set(i, (c - i) * lo / c + 0.5f);
            } else {
                set(i, (i - n + c + 1) * hi / c + 0.5f);
            }
        }
    }
}
