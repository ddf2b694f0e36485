#pragma once

#include "tools/analysis/BeatAnalysis.h"

#include <cstddef>
#include <functional>
#include <optional>
#include <vector>

namespace serivane::tools {

// One window's measures, with what the whole-file summary adds up.
struct WindowReading {
    SpanMeasure measure;
    std::vector<double> leftSpectrum; // Hann power spectra on the meter's common grid
    std::vector<double> rightSpectrum;
    double beatPower = 0.0; // mean power of the part of the signal that turns at the beat
};

// A peak below this (about -120 dBFS) counts as silence.
inline constexpr double silenceLevel = 1e-6;

// Measures windows of one file. Every window's spectra share one grid of `spectrumLength`
// points, so that they can be summed into the file's spectrum.
class WindowMeter {
public:
    // `interrupted` (when set) is asked between the transforms of a window.
    WindowMeter(double sampleRate, std::size_t spectrumLength,
                std::function<bool()> interrupted = {});

    // The window is frames [before, before + count) of the channel data, which may carry more
    // of the file on either side: the analytic signals are taken over all of it, so that the
    // window itself stays clear of their edge effects. Mono data gives the right ear = left.
    // None once `interrupted` answered true.
    std::optional<WindowReading> measure(const std::vector<std::vector<double>>& channels,
                                         std::size_t before, std::size_t count) const;

    // The strongest frequency of a power spectrum on the meter's grid; empty for silence.
    std::optional<double> dominant(const std::vector<double>& power) const;

    // Sets each ear's dominant frequency to the strongest pair of peaks about `beatHz` apart, the
    // right ear's above the left's when the beat is positive, so that the ears agree with the
    // beat; leaves them as they are when no such pair stands out.
    void pairDominants(const std::vector<double>& leftPower, const std::vector<double>& rightPower,
                       double beatHz, EarMeasure& left, EarMeasure& right) const;

private:
    // The frequency of the peak at bin `k`, between bins by a parabola through the logarithms.
    double peakHz(const std::vector<double>& power, std::size_t k) const;
    std::optional<BeatMeasure> measureBeat(const std::vector<std::vector<double>>& channels,
                                           std::size_t before, std::size_t count,
                                           double& beatPower) const;
    bool interrupted() const { return interrupted_ && interrupted_(); }

    double sampleRate_;
    std::size_t spectrumLength_;
    std::function<bool()> interrupted_;
};

// Peak and RMS of `count` samples.
EarMeasure earLevels(const double* samples, std::size_t count);

} // namespace serivane::tools
