#include "tools/analysis/BeatLine.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace serivane::tools {

namespace {

constexpr double twoPi = 2.0 * std::numbers::pi;

// The search runs on the cross product averaged over groups of frames, at about five times the
// highest beat looked for; the refinement uses every frame.
constexpr double searchOversampling = 5.0;
// Zero-padding of the search transform, for a finer grid of candidate frequencies.
constexpr std::size_t searchPadding = 4;
// The phase slope is fitted over this many parts of the window.
constexpr std::size_t phaseParts = 16;

std::vector<Complex> decimated(const std::vector<Complex>& cross, std::size_t factor) {
    std::vector<Complex> out(cross.size() / factor);
    for (std::size_t i = 0; i < out.size(); ++i) {
        Complex sum = 0.0;
        for (std::size_t j = 0; j < factor; ++j) sum += cross[i * factor + j];
        out[i] = sum / static_cast<double>(factor);
    }
    return out;
}

// The frequency of the strongest bin in the allowed range, between bins by a parabola through
// the logarithms of the neighbouring magnitudes.
double searchPeak(const std::vector<Complex>& cross, double rate, double lowestHz,
                  double highestHz) {
    const std::vector<Complex> spectrum =
        hannSpectrum(cross, fastLength(searchPadding * cross.size()));
    const auto length = static_cast<long long>(spectrum.size());
    const double binHz = rate / static_cast<double>(length);
    auto power = [&](long long k) { return std::norm(spectrum[((k % length) + length) % length]); };
    long long best = 0;
    double bestPower = -1.0;
    const auto reach = static_cast<long long>(std::floor(highestHz / binHz));
    for (long long k = -reach; k <= reach; ++k) {
        if (std::fabs(static_cast<double>(k) * binHz) < lowestHz) continue;
        if (power(k) > bestPower) {
            bestPower = power(k);
            best = k;
        }
    }
    const double a = std::log(power(best - 1) + 1e-300);
    const double b = std::log(power(best) + 1e-300);
    const double c = std::log(power(best + 1) + 1e-300);
    const double curve = a - 2.0 * b + c;
    const double offset = curve < 0.0 ? std::clamp(0.5 * (a - c) / curve, -0.5, 0.5) : 0.0;
    return (static_cast<double>(best) + offset) * binHz;
}

Complex turnedSum(const std::vector<Complex>& cross, std::size_t first, std::size_t end,
                  double radiansPerFrame) {
    Complex sum = 0.0;
    for (std::size_t n = first; n < end; ++n)
        sum += cross[n] * std::polar(1.0, -radiansPerFrame * static_cast<double>(n));
    return sum;
}

// Turns the cross product back by `hz`, sums it over equal parts of the window, and fits a
// straight line through the unwrapped phases of the sums, each weighted by its magnitude: the
// slope is what is left of the beat's frequency.
double refine(const std::vector<Complex>& cross, double sampleRate, double hz) {
    const std::size_t parts = std::min(phaseParts, cross.size());
    const double radiansPerFrame = twoPi * hz / sampleRate;
    double sumW = 0.0, sumT = 0.0, sumP = 0.0, sumTT = 0.0, sumTP = 0.0;
    double previous = 0.0;
    for (std::size_t k = 0; k < parts; ++k) {
        const std::size_t first = cross.size() * k / parts;
        const std::size_t end = cross.size() * (k + 1) / parts;
        const Complex sum = turnedSum(cross, first, end, radiansPerFrame);
        double phase = std::arg(sum);
        if (k > 0) phase -= twoPi * std::round((phase - previous) / twoPi);
        previous = phase;
        const double weight = std::abs(sum);
        const double time = 0.5 * static_cast<double>(first + end - 1) / sampleRate;
        sumW += weight;
        sumT += weight * time;
        sumP += weight * phase;
        sumTT += weight * time * time;
        sumTP += weight * time * phase;
    }
    const double spread = sumW * sumTT - sumT * sumT;
    if (sumW <= 0.0 || spread <= 0.0) return hz;
    return hz + (sumW * sumTP - sumT * sumP) / spread / twoPi;
}

} // namespace

BeatLine strongestLine(const std::vector<Complex>& cross, double sampleRate, double lowestHz,
                       double highestHz) {
    const auto factor = static_cast<std::size_t>(
        std::max(1.0, std::floor(sampleRate / (searchOversampling * highestHz))));
    const double searchRate = sampleRate / static_cast<double>(factor);
    const double reach = std::min(highestHz, 0.45 * searchRate);
    double hz = searchPeak(decimated(cross, factor), searchRate, lowestHz, reach);
    for (int pass = 0; pass < 2; ++pass) hz = refine(cross, sampleRate, hz);
    const Complex line = turnedSum(cross, 0, cross.size(), twoPi * hz / sampleRate);
    return {hz, std::abs(line) / static_cast<double>(cross.size())};
}

} // namespace serivane::tools
