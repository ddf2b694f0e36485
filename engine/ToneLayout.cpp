#include "engine/ToneEngine.h"

#include <cmath>

// The lower ear is raised to 5 Hz ("Right") or 1 Hz ("Left") when the carrier lies below half
// the binaural offset, instead of going negative.
std::array<double, kEars> ToneEngine::EarIncrements(double carrier) const {
    const double k = bank.period / engineSampleRate;
    double x = carrier;
    double h = binauralHz * 0.5;
    switch (panMode) {
    case 2:
        if (x < h) {
            x = h + 5.0;
            h = x - 5.0;
        }
        return {(x - h) * k, (x + h) * k};
    case 0:
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
    if (!initialised || !(engineSampleRate > 0.0) || toneCount < 1) return;
    const int n = toneCount;
    const double d = (highHz - lowHz) / static_cast<float>(n);
    for (int i = 0; i < n; ++i) {
        const double lowCarrier = lowHz + i * d * spread;
        const double highCarrier = highHz - (n - 1 - i) * d * spread;
        const auto low = EarIncrements(lowCarrier);
        const auto high = EarIncrements(highCarrier);
        for (int e = 0; e < kEars; ++e) {
            ToneIncrement& rate = bank.rates[e][i];
            rate.low = low[e];
            rate.high = high[e];
            rate.span = high[e] - low[e];
        }
    }
}

// The outer tones get "Low" and "High", the centre tone(s) "Middle", and the tones between move
// linearly from the outer levels towards 0.5.
void ToneEngine::ComputeToneLevels() {
    if (spread == 0.0f) return;
    const int n = toneCount;
    auto set = [this](int i, float w) {
        bank.levels[i].offset = 0.0;
        bank.levels[i].level = w;
        bank.levels[i].scale = w;
    };
    if (n == 1) {
        set(0, middleLevel);
    } else if (n == 2) {
        set(0, lowLevel);
        set(1, highLevel);
    } else {
        const float m = (n - 1) * 0.5f;
        const float c = std::floor(m);
        const float lo = lowLevel - 0.5f;
        const float hi = highLevel - 0.5f;
        for (int i = 0; i < n; ++i) {
            if (m - 0.5f <= i && i <= m + 0.5f) {
                set(i, middleLevel);
            } else if (i < m) {
                set(i, (c - i) * lo / c + 0.5f);
            } else {
                set(i, (i - n + c + 1) * hi / c + 0.5f);
            }
        }
    }
}
