#include "tools/analysis/WindowMeter.h"
#include "tools/analysis/BeatLine.h"
#include "tools/analysis/Fourier.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace serivane::tools {

namespace {

// A beat line weaker than this share of the ears' common signal is no steady beat.
constexpr double minStrength = 0.2;
// Below this share of the signal beside what both ears share, nothing else is looked for.
constexpr double minRest = 0.05;
// Slower than this, the phase difference stands still: the ears carry the same frequencies.
constexpr double sameFrequencyHz = 0.005;

// The ears' cross product is kept averaged over groups of frames, at about five times the
// highest beat looked for.
constexpr double crossOversampling = 5.0;
// Of a pair of ears' peaks this many of the strongest of each are looked at.
constexpr std::size_t pairCandidates = 24;

// Sums and extremes over many samples are taken in this many interleaved parts, so that each step
// does not wait on the one before.
constexpr std::size_t lanes = 4;

double mean(const double* samples, std::size_t count) {
    double sums[lanes] = {};
    std::size_t i = 0;
    for (; i + lanes <= count; i += lanes) {
        for (std::size_t k = 0; k < lanes; ++k) sums[k] += samples[i + k];
    }
    for (; i < count; ++i) sums[0] += samples[i];
    const double sum = (sums[0] + sums[1]) + (sums[2] + sums[3]);
    return count > 0 ? sum / static_cast<double>(count) : 0.0;
}

// How far the samples swing about `offset`: a DC offset alone does not sound.
double swing(const double* samples, std::size_t count, double offset) {
    double largest[lanes] = {};
    std::size_t i = 0;
    for (; i + lanes <= count; i += lanes) {
        for (std::size_t k = 0; k < lanes; ++k)
            largest[k] = std::max(largest[k], std::fabs(samples[i + k] - offset));
    }
    for (; i < count; ++i) largest[0] = std::max(largest[0], std::fabs(samples[i] - offset));
    return std::max(std::max(largest[0], largest[1]), std::max(largest[2], largest[3]));
}

// The bins of the strongest local maxima from bin 2 up, strongest first.
std::vector<std::size_t> strongestPeaks(const std::vector<double>& power) {
    std::vector<std::size_t> peaks;
    for (std::size_t k = 2; k + 1 < power.size(); ++k) {
        if (power[k] > 0.0 && power[k] >= power[k - 1] && power[k] > power[k + 1])
            peaks.push_back(k);
    }
    const std::size_t kept = std::min(pairCandidates, peaks.size());
    std::partial_sort(peaks.begin(), peaks.begin() + static_cast<std::ptrdiff_t>(kept), peaks.end(),
                      [&](std::size_t a, std::size_t b) { return power[a] > power[b]; });
    peaks.resize(kept);
    return peaks;
}

} // namespace

WindowMeter::WindowMeter(double sampleRate, std::size_t spectrumLength,
                         std::function<bool()> interrupted)
    : sampleRate_(sampleRate), spectrumLength_(spectrumLength),
      decimation_(static_cast<std::size_t>(
          std::max(1.0, std::floor(sampleRate / (crossOversampling * maxBeatHz))))),
      interrupted_(std::move(interrupted)) {}

std::optional<double> WindowMeter::dominant(const std::vector<double>& power) const {
    // From bin 2 up: the lowest bins hold the window's own spread of any offset.
    if (power.size() < 4) return std::nullopt;
    const auto best = std::max_element(power.begin() + 2, power.end() - 1);
    if (*best <= 0.0) return std::nullopt;
    return peakHz(power, static_cast<std::size_t>(best - power.begin()));
}

void WindowMeter::pairDominants(const std::vector<double>& leftPower,
                                const std::vector<double>& rightPower, double beatHz,
                                EarMeasure& left, EarMeasure& right) const {
    const double shift = beatHz * static_cast<double>(spectrumLength_) / sampleRate_;
    const double tolerance = std::max(0.5 * std::fabs(shift), 2.0);
    const std::vector<std::size_t> leftPeaks = strongestPeaks(leftPower);
    const std::vector<std::size_t> rightPeaks = strongestPeaks(rightPower);
    double best = 0.0;
    std::size_t bestLeft = 0, bestRight = 0;
    for (std::size_t l : leftPeaks) {
        for (std::size_t r : rightPeaks) {
            const double apart = static_cast<double>(r) - static_cast<double>(l);
            if (apart * shift <= 0.0 || std::fabs(apart - shift) > tolerance) continue;
            if (leftPower[l] * rightPower[r] > best) {
                best = leftPower[l] * rightPower[r];
                bestLeft = l;
                bestRight = r;
            }
        }
    }
    if (best <= 0.0) return;
    left.dominantHz = peakHz(leftPower, bestLeft);
    right.dominantHz = peakHz(rightPower, bestRight);
}

double WindowMeter::peakHz(const std::vector<double>& power, std::size_t k) const {
    const double a = std::log(power[k - 1] + 1e-300);
    const double b = std::log(power[k] + 1e-300);
    const double c = std::log(power[k + 1] + 1e-300);
    const double curve = a - 2.0 * b + c;
    const double offset = curve < 0.0 ? std::clamp(0.5 * (a - c) / curve, -0.5, 0.5) : 0.0;
    return (static_cast<double>(k) + offset) * sampleRate_ / static_cast<double>(spectrumLength_);
}

bool WindowMeter::add(const std::vector<std::vector<double>>& channels, std::size_t before,
                      std::size_t count, WindowParts& parts) const {
    const bool mono = channels.size() == 1;
    const double* left = channels.front().data() + before;
    const double* right = channels.back().data() + before;
    const double leftOffset = addLevels(left, count, parts.left);
    const double rightOffset = addLevels(right, count, parts.right);
    parts.frames += count;
    addSpectrum(left, count, leftOffset, parts.leftSpectrum);
    if (interrupted()) return false;
    if (!mono) addSpectrum(right, count, rightOffset, parts.rightSpectrum);
    if (interrupted()) return false;
    if (mono) return true;
    // The analytic signals are taken over all the data given, so that the piece itself stays
    // clear of their edges.
    const std::size_t length = channels[0].size();
    const double* allLeft = channels[0].data();
    const double* allRight = channels[1].data();
    const double leftMean = mean(allLeft, length), rightMean = mean(allRight, length);
    const Transforms::HilbertPair hilbert =
        transforms_.hilbertPair(allLeft, allRight, length, leftMean, rightMean);
    if (interrupted()) return false;
    addCross(allLeft, allRight, hilbert, leftMean, rightMean, before, count, parts);
    return true;
}

void WindowMeter::addCross(const double* left, const double* right,
                           const Transforms::HilbertPair& hilbert, double leftMean,
                           double rightMean, std::size_t before, std::size_t count,
                           WindowParts& parts) const {
    // The sums are kept in locals for the loop, which a reference to the parts would otherwise
    // store back on every frame, and the powers in two interleaved runs (even and odd frames).
    double leftPower[2] = {parts.leftPower, 0.0}, rightPower[2] = {parts.rightPower, 0.0};
    double carryRe = parts.carry.real(), carryIm = parts.carry.imag();
    std::size_t carried = parts.carried;
    const auto group = static_cast<double>(decimation_);
    auto add = [&](std::size_t n, double& leftSum, double& rightSum) {
        const double lRe = left[n] - leftMean, lIm = hilbert.values[n].real() * hilbert.unit;
        const double rRe = right[n] - rightMean, rIm = hilbert.values[n].imag() * hilbert.unit;
        leftSum += lRe * lRe + lIm * lIm;
        rightSum += rRe * rRe + rIm * rIm;
        carryRe += rRe * lRe + rIm * lIm;
        carryIm += rIm * lRe - rRe * lIm;
        if (++carried == decimation_) {
            parts.cross.emplace_back(carryRe / group, carryIm / group);
            carryRe = carryIm = 0.0;
            carried = 0;
        }
    };
    const std::size_t end = before + count;
    std::size_t n = before;
    for (; n + 2 <= end; n += 2) {
        add(n, leftPower[0], rightPower[0]);
        add(n + 1, leftPower[1], rightPower[1]);
    }
    if (n < end) add(n, leftPower[0], rightPower[0]);
    parts.leftPower = leftPower[0] + leftPower[1];
    parts.rightPower = rightPower[0] + rightPower[1];
    parts.carry = {carryRe, carryIm};
    parts.carried = carried;
}

std::optional<WindowReading> WindowMeter::finish(WindowParts& parts, bool mono) const {
    WindowReading reading;
    SpanMeasure& m = reading.measure;
    const std::size_t count = parts.frames;
    m.seconds = static_cast<double>(count) / sampleRate_;
    m.left = {std::nullopt, std::sqrt(parts.left.squares / static_cast<double>(count)),
              parts.left.peak};
    m.right = {std::nullopt, std::sqrt(parts.right.squares / static_cast<double>(count)),
               parts.right.peak};
    m.rms = std::sqrt(0.5 * (m.left.rms * m.left.rms + m.right.rms * m.right.rms));
    reading.leftSpectrum = std::move(parts.leftSpectrum);
    reading.rightSpectrum = mono ? reading.leftSpectrum : std::move(parts.rightSpectrum);
    const bool leftSounds = parts.left.swing >= silenceLevel;
    const bool rightSounds = parts.right.swing >= silenceLevel;
    if (leftSounds) m.left.dominantHz = dominant(reading.leftSpectrum);
    if (rightSounds) m.right.dominantHz = dominant(reading.rightSpectrum);
    if (!leftSounds && !rightSounds)
        m.beat.verdict = BeatVerdict::Silent;
    else if (mono)
        m.beat.verdict = BeatVerdict::Mono;
    else if (!leftSounds || !rightSounds)
        m.beat.verdict = BeatVerdict::OneEar;
    else {
        const double common =
            std::sqrt(parts.leftPower * parts.rightPower) / static_cast<double>(count);
        std::optional<BeatMeasure> beat =
            measureBeat(parts.cross, common, m.seconds, reading.beatPower);
        if (!beat) return std::nullopt;
        m.beat = *beat;
        if (m.beat.hz)
            pairDominants(reading.leftSpectrum, reading.rightSpectrum, *m.beat.hz, m.left, m.right);
    }
    return reading;
}

double WindowMeter::addLevels(const double* samples, std::size_t count, EarParts& ear) {
    double sums[lanes] = {}, peaks[lanes] = {}, squares[lanes] = {};
    std::size_t i = 0;
    for (; i + lanes <= count; i += lanes) {
        for (std::size_t k = 0; k < lanes; ++k) {
            const double sample = samples[i + k];
            sums[k] += sample;
            peaks[k] = std::max(peaks[k], std::fabs(sample));
            squares[k] += sample * sample;
        }
    }
    for (; i < count; ++i) {
        sums[0] += samples[i];
        peaks[0] = std::max(peaks[0], std::fabs(samples[i]));
        squares[0] += samples[i] * samples[i];
    }
    ear.peak = std::max({ear.peak, peaks[0], peaks[1], peaks[2], peaks[3]});
    ear.squares += (squares[0] + squares[1]) + (squares[2] + squares[3]);
    const double sum = (sums[0] + sums[1]) + (sums[2] + sums[3]);
    const double offset = count > 0 ? sum / static_cast<double>(count) : 0.0;
    ear.swing = std::max(ear.swing, swing(samples, count, offset));
    return offset;
}

void WindowMeter::addSpectrum(const double* samples, std::size_t count, double offset,
                              std::vector<double>& sum) const {
    transforms_.addHannPowerSpectrum(samples, count, spectrumLength_, offset, sum);
}

std::optional<BeatMeasure> WindowMeter::measureBeat(const std::vector<Complex>& cross,
                                                    double common, double seconds,
                                                    double& beatPower) const {
    BeatMeasure beat;
    if (cross.size() < 2) {
        beat.verdict = BeatVerdict::Unsteady;
        return beat;
    }
    const double rate = sampleRate_ / static_cast<double>(decimation_);
    BeatLine line = strongestLine(cross, rate, 0.0, maxBeatHz);
    if (interrupted()) return std::nullopt;
    // A line standing still is what both ears share (a mix of rain, say). When enough else
    // sounds beside it, the beat is looked for again outside the window's own spread around
    // zero, and measured against the part of the signal that the ears do not share.
    double base = common;
    if (std::fabs(line.hz) < sameFrequencyHz && common - line.amplitude > minRest * common) {
        const double rest = common - line.amplitude;
        const BeatLine moving = strongestLine(cross, rate, 2.0 / seconds, maxBeatHz);
        if (moving.amplitude >= minStrength * rest) {
            line = moving;
            base = rest;
        }
    }
    beat.strength = base > 0.0 ? std::min(1.0, line.amplitude / base) : 0.0;
    if (beat.strength < minStrength) {
        beat.verdict = BeatVerdict::Unsteady;
    } else if (std::fabs(line.hz) < sameFrequencyHz) {
        beat.verdict = BeatVerdict::SameFrequency;
    } else {
        beat.verdict = BeatVerdict::Beat;
        beat.hz = meanBeat(cross, rate, line.hz);
        beatPower = line.amplitude;
    }
    return beat;
}

} // namespace serivane::tools
