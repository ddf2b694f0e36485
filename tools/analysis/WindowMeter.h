#pragma once

#include "tools/analysis/BeatAnalysis.h"
#include "tools/analysis/Fourier.h"

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

// What the pieces of one ear in a window add up to.
struct EarParts {
    double peak = 0.0;
    double squares = 0.0; // the sum of the squared samples
    double swing = 0.0;   // the largest distance from a piece's mean
};

// What the pieces of a window add up to while they are read.
struct WindowParts {
    std::size_t frames = 0;
    EarParts left, right;
    std::vector<double> leftSpectrum, rightSpectrum; // sums of the pieces' Hann power spectra
    double leftPower = 0.0, rightPower = 0.0;        // sums of the analytic signals' power
    std::vector<Complex> cross; // the ears' cross product, averaged over groups of frames
    Complex carry = 0.0;        // the sum of the group not yet complete
    std::size_t carried = 0;

    // Empties the parts for another window, keeping the room of the cross product.
    void restart() {
        std::vector<Complex> kept = std::move(cross);
        kept.clear();
        *this = WindowParts{};
        cross = std::move(kept);
    }
};

// Measures windows of one file, piece by piece. Every piece's spectra share one grid of
// `spectrumLength` points, so that they can be summed into a window's and the file's spectrum.
class WindowMeter {
public:
    // `interrupted` (when set) is asked between the transforms of a piece.
    WindowMeter(double sampleRate, std::size_t spectrumLength,
                std::function<bool()> interrupted = {});

    // Adds frames [before, before + count) of the channel data, which may carry more of the file
    // on either side, to the window's parts: the analytic signals are taken over all of it, so
    // that the piece itself stays clear of their edge effects. Mono data has one channel. False
    // once `interrupted` answered true.
    bool add(const std::vector<std::vector<double>>& channels, std::size_t before,
             std::size_t count, WindowParts& parts) const;

    // The window's measures from its parts (which it takes apart); none once `interrupted`
    // answered true. A mono window gives the right ear = left.
    std::optional<WindowReading> finish(WindowParts& parts, bool mono) const;

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
    // Adds frames [before, before + count) of the ears' analytic signals, {sample - mean,
    // Hilbert transform}, to the powers and the cross product of the parts.
    void addCross(const double* left, const double* right, const Transforms::HilbertPair& hilbert,
                  double leftMean, double rightMean, std::size_t before, std::size_t count,
                  WindowParts& parts) const;
    // Adds the samples' peak, squares and swing about their mean to the ear's parts; returns that
    // mean.
    static double addLevels(const double* samples, std::size_t count, EarParts& ear);
    void addSpectrum(const double* samples, std::size_t count, double offset,
                     std::vector<double>& sum) const;
    std::optional<BeatMeasure> measureBeat(const std::vector<Complex>& cross, double common,
                                           double seconds, double& beatPower) const;
    bool interrupted() const { return interrupted_ && interrupted_(); }

    double sampleRate_;
    std::size_t spectrumLength_;
    std::size_t decimation_;
    std::function<bool()> interrupted_;
    // The transforms of the piece in hand, kept from piece to piece.
    mutable Transforms transforms_;
};

} // namespace serivane::tools
