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
// Zero-padding of the search transform, for a finer grid of candidate frequencies; a long window
// has a fine grid of its own and is padded only up to this many points.
constexpr std::size_t searchPadding = 4;
constexpr std::size_t paddedSearchLength = std::size_t{1} << 18;
// The phase slope is fitted over this many parts of the window.
constexpr std::size_t phaseParts = 16;
// The beat's phase is followed over Hann-weighted parts this long, each half over the one before:
// long enough to keep other lines a few hertz away out of the phase read, short enough that the
// phase of a beat up to 1 Hz off the line found turns less than half a cycle between parts.
constexpr double trackPartSeconds = 1.0;
// A part weaker than this share of the strongest (a tone faded out, about 40 dB down in each ear)
// has no phase worth reading.
constexpr double weakPart = 1e-4;

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
        hannSpectrum(cross, fastLength(std::max(cross.size(), std::min(searchPadding * cross.size(),
                                                                       paddedSearchLength))));
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

// The sum of the cross product turned back by `radiansPerFrame` per frame from frame 0; the turn
// is stepped by a product per frame rather than a sine and cosine, in two interleaved runs (even
// and odd frames) so that each product does not wait on the one before.
Complex turnedSum(const std::vector<Complex>& cross, std::size_t first, std::size_t end,
                  double radiansPerFrame) {
    const Complex step = std::polar(1.0, -2.0 * radiansPerFrame);
    Complex turn[2] = {std::polar(1.0, -radiansPerFrame * static_cast<double>(first)),
                       std::polar(1.0, -radiansPerFrame * static_cast<double>(first + 1))};
    double sumRe[2] = {}, sumIm[2] = {};
    auto add = [&](int run, std::size_t n) {
        const double re = cross[n].real(), im = cross[n].imag();
        const double turnRe = turn[run].real(), turnIm = turn[run].imag();
        sumRe[run] += re * turnRe - im * turnIm;
        sumIm[run] += re * turnIm + im * turnRe;
        turn[run] = {turnRe * step.real() - turnIm * step.imag(),
                     turnRe * step.imag() + turnIm * step.real()};
    };
    std::size_t n = first;
    for (; n + 2 <= end; n += 2) {
        add(0, n);
        add(1, n + 1);
    }
    if (n < end) add(0, n);
    return {sumRe[0] + sumRe[1], sumIm[0] + sumIm[1]};
}

// One part of the beat's phase track: the turned-back sum of the cross product under `weights`
// from `first` on, and the frame its phase belongs to, the centre of the part's magnitude (a
// part whose sound swells reads the phase of its louder end).
struct TrackPart {
    Complex sum;
    double frame;
};

TrackPart trackPart(const std::vector<Complex>& cross, std::size_t first,
                    const std::vector<double>& weights, double radiansPerFrame) {
    // Two interleaved runs, as in turnedSum.
    const Complex step = std::polar(1.0, -2.0 * radiansPerFrame);
    Complex turn[2] = {std::polar(1.0, -radiansPerFrame * static_cast<double>(first)),
                       std::polar(1.0, -radiansPerFrame * static_cast<double>(first + 1))};
    double sumRe[2] = {}, sumIm[2] = {}, mass[2] = {}, moment[2] = {};
    auto add = [&](int run, std::size_t i) {
        const double re = weights[i] * cross[first + i].real();
        const double im = weights[i] * cross[first + i].imag();
        const double turnRe = turn[run].real(), turnIm = turn[run].imag();
        sumRe[run] += re * turnRe - im * turnIm;
        sumIm[run] += re * turnIm + im * turnRe;
        const double magnitude = std::sqrt(re * re + im * im);
        mass[run] += magnitude;
        moment[run] += magnitude * static_cast<double>(i);
        turn[run] = {turnRe * step.real() - turnIm * step.imag(),
                     turnRe * step.imag() + turnIm * step.real()};
    };
    std::size_t i = 0;
    for (; i + 2 <= weights.size(); i += 2) {
        add(0, i);
        add(1, i + 1);
    }
    if (i < weights.size()) add(0, i);
    const double totalMass = mass[0] + mass[1];
    const double centre = totalMass > 0.0 ? (moment[0] + moment[1]) / totalMass
                                          : 0.5 * static_cast<double>(weights.size() - 1);
    return {{sumRe[0] + sumRe[1], sumIm[0] + sumIm[1]}, static_cast<double>(first) + centre};
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

struct TrackPoint {
    double time, phase, weight;
};

// The weighted least-squares parabola through the points, as its phase at `time`; the times are
// taken about the points' mean, which keeps the sums well conditioned.
class PhaseCurve {
public:
    explicit PhaseCurve(const std::vector<TrackPoint>& points) {
        double weights = 0.0;
        for (const TrackPoint& p : points) {
            weights += p.weight;
            centre_ += p.weight * p.time;
        }
        centre_ /= weights;
        double s[5] = {}, r[3] = {};
        for (const TrackPoint& p : points) {
            const double t = p.time - centre_;
            double power = p.weight;
            for (int k = 0; k < 5; ++k, power *= t) {
                s[k] += power;
                if (k < 3) r[k] += power * p.phase;
            }
        }
        // Cramer's rule on the normal equations.
        const double m[3][3] = {{s[0], s[1], s[2]}, {s[1], s[2], s[3]}, {s[2], s[3], s[4]}};
        const double d = determinant(m);
        if (std::fabs(d) <= 1e-300) return;
        for (int column = 0; column < 3; ++column) {
            double replaced[3][3];
            for (int row = 0; row < 3; ++row) {
                for (int k = 0; k < 3; ++k) replaced[row][k] = k == column ? r[row] : m[row][k];
            }
            coefficients_[column] = determinant(replaced) / d;
        }
        fitted_ = true;
    }

    bool fitted() const { return fitted_; }
    double at(double time) const {
        const double t = time - centre_;
        return coefficients_[0] + t * (coefficients_[1] + t * coefficients_[2]);
    }

private:
    static double determinant(const double (&m)[3][3]) {
        return m[0][0] * (m[1][1] * m[2][2] - m[1][2] * m[2][1]) -
               m[0][1] * (m[1][0] * m[2][2] - m[1][2] * m[2][0]) +
               m[0][2] * (m[1][0] * m[2][1] - m[1][1] * m[2][0]);
    }

    double centre_ = 0.0;
    double coefficients_[3] = {};
    bool fitted_ = false;
};

} // namespace

BeatLine strongestLine(const std::vector<Complex>& cross, double sampleRate, double lowestHz,
                       double highestHz) {
    const auto factor = static_cast<std::size_t>(
        std::max(1.0, std::floor(sampleRate / (searchOversampling * highestHz))));
    const double searchRate = sampleRate / static_cast<double>(factor);
    const double reach = std::min(highestHz, 0.45 * searchRate);
    // Grouped only when the search runs slower than the cross product (a copy saved otherwise).
    const std::vector<Complex> grouped =
        factor > 1 ? decimated(cross, factor) : std::vector<Complex>{};
    double hz = searchPeak(factor > 1 ? grouped : cross, searchRate, lowestHz, reach);
    for (int pass = 0; pass < 2; ++pass) hz = refine(cross, sampleRate, hz);
    const Complex line = turnedSum(cross, 0, cross.size(), twoPi * hz / sampleRate);
    return {hz, std::abs(line) / static_cast<double>(cross.size())};
}

double meanBeat(const std::vector<Complex>& cross, double sampleRate, double hz) {
    // Parts of a quarter of the window at most, so that a short window still has several.
    const std::size_t length = std::min(
        static_cast<std::size_t>(std::llround(trackPartSeconds * sampleRate)), cross.size() / 4);
    if (length < 2) return hz;
    const std::size_t parts = 2 * (cross.size() - length) / length + 1;
    std::vector<double> weights(length);
    for (std::size_t i = 0; i < length; ++i)
        weights[i] = 0.5 - 0.5 * std::cos(twoPi * (static_cast<double>(i) + 0.5) /
                                          static_cast<double>(length));
    const double radiansPerFrame = twoPi * hz / sampleRate;
    std::vector<TrackPart> sums;
    double strongest = 0.0;
    for (std::size_t k = 0; k < parts; ++k) {
        const std::size_t first = (cross.size() - length) * k / (parts - 1);
        sums.push_back(trackPart(cross, first, weights, radiansPerFrame));
        strongest = std::max(strongest, std::abs(sums.back().sum));
    }
    std::vector<TrackPoint> track;
    for (const TrackPart& part : sums) {
        const double weight = std::abs(part.sum);
        if (weight < weakPart * strongest) continue;
        double phase = std::arg(part.sum);
        if (!track.empty()) phase -= twoPi * std::round((phase - track.back().phase) / twoPi);
        track.push_back({part.frame / sampleRate, phase, weight});
    }
    if (track.size() < 2) return hz;
    // The window runs from half a frame before its first frame to half a frame after its last.
    double startTime = -0.5 / sampleRate,
           endTime = (static_cast<double>(cross.size()) - 0.5) / sampleRate;
    double startPhase = track.front().phase, endPhase = track.back().phase;
    const PhaseCurve curve(track);
    if (track.size() >= 3 && curve.fitted()) {
        startPhase += curve.at(startTime) - curve.at(track.front().time);
        endPhase += curve.at(endTime) - curve.at(track.back().time);
    } else {
        startTime = track.front().time;
        endTime = track.back().time;
    }
    return hz + (endPhase - startPhase) / (twoPi * (endTime - startTime));
}

} // namespace serivane::tools
