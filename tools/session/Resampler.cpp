#include "tools/session/Resampler.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace serivane::tools {

namespace {

constexpr int zeroCrossings = 32;
constexpr double cutoff = 0.91;
constexpr double kaiserBeta = 9.0;

// Modified Bessel function of the first kind, order 0, by its power series.
double besselI0(double x) {
    double sum = 1.0;
    double term = 1.0;
    for (int k = 1; k < 50 && term > sum * 1e-17; ++k) {
        term *= (x / (2.0 * k)) * (x / (2.0 * k));
        sum += term;
    }
    return sum;
}

double kaiser(double t) {
    if (std::abs(t) >= 1.0) return 0.0;
    return besselI0(kaiserBeta * std::sqrt(1.0 - t * t)) / besselI0(kaiserBeta);
}

double sinc(double x) {
    if (std::abs(x) < 1e-12) return 1.0;
    return std::sin(std::numbers::pi * x) / (std::numbers::pi * x);
}

} // namespace

Resampler::Resampler(int sourceRate, int outputRate)
    : sourceRate_(sourceRate), outputRate_(outputRate) {
    if (sourceRate == outputRate) return;
    // The kernel's bandwidth relative to the source's Nyquist frequency.
    double scale = std::min(1.0, static_cast<double>(outputRate) / sourceRate);
    double band = cutoff * scale;
    reach_ = static_cast<int>(std::ceil(zeroCrossings / scale));
    int width = 2 * reach_;
    table_.resize(static_cast<std::size_t>((phases + 1) * width));
    for (int phase = 0; phase <= phases; ++phase) {
        double fraction = static_cast<double>(phase) / phases;
        float* coefficients = table_.data() + phase * width;
        double sum = 0.0;
        for (int tap = 0; tap < width; ++tap) {
            double distance = (tap - reach_ + 1) - fraction;
            double h = band * sinc(band * distance) * kaiser(distance / reach_);
            coefficients[tap] = static_cast<float>(h);
            sum += h;
        }
        // Unity gain at DC for every offset, so a steady level does not ripple.
        for (int tap = 0; tap < width; ++tap)
            coefficients[tap] = static_cast<float>(coefficients[tap] / sum);
    }
}

void Resampler::interpolate(const float* source, int channels, SourcePosition at,
                            float* out) const {
    if (passesThrough()) {
        for (int c = 0; c < channels; ++c) out[c] = source[at.frame * channels + c];
        return;
    }
    double offset = static_cast<double>(at.remainder) / outputRate_ * phases;
    int phase = std::min(static_cast<int>(offset), phases - 1);
    auto blend = static_cast<float>(offset - phase);
    const float* early = row(phase);
    const float* late = row(phase + 1);
    const float* first = source + (at.frame - reach_ + 1) * channels;
    int width = 2 * reach_;
    if (channels == 1) {
        float a = 0.0f, b = 0.0f;
        for (int tap = 0; tap < width; ++tap) {
            a += early[tap] * first[tap];
            b += late[tap] * first[tap];
        }
        out[0] = a + blend * (b - a);
        return;
    }
    float aLeft = 0.0f, bLeft = 0.0f, aRight = 0.0f, bRight = 0.0f;
    for (int tap = 0; tap < width; ++tap) {
        float left = first[2 * tap];
        float right = first[2 * tap + 1];
        aLeft += early[tap] * left;
        bLeft += late[tap] * left;
        aRight += early[tap] * right;
        bRight += late[tap] * right;
    }
    out[0] = aLeft + blend * (bLeft - aLeft);
    out[1] = aRight + blend * (bRight - aRight);
}

} // namespace serivane::tools
