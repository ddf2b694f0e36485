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

// Of a pair of ears' peaks this many of the strongest of each are looked at.
constexpr std::size_t pairCandidates = 24;

double mean(const double* samples, std::size_t count) {
    double sum = 0.0;
    for (std::size_t i = 0; i < count; ++i) sum += samples[i];
    return count > 0 ? sum / static_cast<double>(count) : 0.0;
}

// How far the samples swing about `offset`: a DC offset alone does not sound.
double swing(const double* samples, std::size_t count, double offset) {
    double largest = 0.0;
    for (std::size_t i = 0; i < count; ++i)
        largest = std::max(largest, std::fabs(samples[i] - offset));
    return largest;
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

double meanPower(const std::vector<Complex>& signal, std::size_t first, std::size_t count) {
    double sum = 0.0;
    for (std::size_t n = first; n < first + count; ++n) sum += std::norm(signal[n]);
    return sum / static_cast<double>(count);
}

} // namespace

EarMeasure earLevels(const double* samples, std::size_t count) {
    EarMeasure ear;
    double sum = 0.0;
    for (std::size_t i = 0; i < count; ++i) {
        ear.peak = std::max(ear.peak, std::fabs(samples[i]));
        sum += samples[i] * samples[i];
    }
    ear.rms = count > 0 ? std::sqrt(sum / static_cast<double>(count)) : 0.0;
    return ear;
}

WindowMeter::WindowMeter(double sampleRate, std::size_t spectrumLength,
                         std::function<bool()> interrupted)
    : sampleRate_(sampleRate), spectrumLength_(spectrumLength),
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

std::optional<WindowReading> WindowMeter::measure(const std::vector<std::vector<double>>& channels,
                                                  std::size_t before, std::size_t count) const {
    WindowReading reading;
    SpanMeasure& m = reading.measure;
    m.seconds = static_cast<double>(count) / sampleRate_;
    const bool mono = channels.size() == 1;
    const double* left = channels.front().data() + before;
    const double* right = channels.back().data() + before;
    m.left = earLevels(left, count);
    m.right = earLevels(right, count);
    m.rms = std::sqrt(0.5 * (m.left.rms * m.left.rms + m.right.rms * m.right.rms));
    const double leftOffset = mean(left, count), rightOffset = mean(right, count);
    reading.leftSpectrum = hannPowerSpectrum(left, count, spectrumLength_, leftOffset);
    if (interrupted()) return std::nullopt;
    reading.rightSpectrum =
        mono ? reading.leftSpectrum : hannPowerSpectrum(right, count, spectrumLength_, rightOffset);
    if (interrupted()) return std::nullopt;
    const bool leftSounds = swing(left, count, leftOffset) >= silenceLevel;
    const bool rightSounds = swing(right, count, rightOffset) >= silenceLevel;
    if (leftSounds) m.left.dominantHz = dominant(reading.leftSpectrum);
    if (rightSounds) m.right.dominantHz = dominant(reading.rightSpectrum);
    if (!leftSounds && !rightSounds)
        m.beat.verdict = BeatVerdict::Silent;
    else if (mono)
        m.beat.verdict = BeatVerdict::Mono;
    else if (!leftSounds || !rightSounds)
        m.beat.verdict = BeatVerdict::OneEar;
    else {
        std::optional<BeatMeasure> beat = measureBeat(channels, before, count, reading.beatPower);
        if (!beat) return std::nullopt;
        m.beat = *beat;
        if (m.beat.hz)
            pairDominants(reading.leftSpectrum, reading.rightSpectrum, *m.beat.hz, m.left, m.right);
    }
    return reading;
}

std::optional<BeatMeasure>
WindowMeter::measureBeat(const std::vector<std::vector<double>>& channels, std::size_t before,
                         std::size_t count, double& beatPower) const {
    const std::size_t length = channels[0].size();
    const std::vector<Complex> left =
        analyticSignal(channels[0].data(), length, mean(channels[0].data(), length));
    if (interrupted()) return std::nullopt;
    const std::vector<Complex> right =
        analyticSignal(channels[1].data(), length, mean(channels[1].data(), length));
    if (interrupted()) return std::nullopt;
    std::vector<Complex> cross(count);
    for (std::size_t n = 0; n < count; ++n)
        cross[n] = right[before + n] * std::conj(left[before + n]);
    const double common =
        std::sqrt(meanPower(left, before, count) * meanPower(right, before, count));

    BeatMeasure beat;
    BeatLine line = strongestLine(cross, sampleRate_, 0.0, maxBeatHz);
    if (interrupted()) return std::nullopt;
    // A line standing still is what both ears share (a mix of rain, say). When enough else
    // sounds beside it, the beat is looked for again outside the window's own spread around
    // zero, and measured against the part of the signal that the ears do not share.
    double base = common;
    if (std::fabs(line.hz) < sameFrequencyHz && common - line.amplitude > minRest * common) {
        const double rest = common - line.amplitude;
        const double seconds = static_cast<double>(count) / sampleRate_;
        const BeatLine moving = strongestLine(cross, sampleRate_, 2.0 / seconds, maxBeatHz);
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
        beat.hz = meanBeat(cross, sampleRate_, line.hz);
        beatPower = line.amplitude;
    }
    return beat;
}

} // namespace serivane::tools
