#include "tools/analysis/Fourier.h"

#include <cmath>
#include <fftw3.h>
#include <numbers>

namespace serivane::tools {

namespace {

fftw_complex* asFftw(std::vector<Complex>& values) {
    return reinterpret_cast<fftw_complex*>(values.data());
}

// Runs one transform with a plan made for these very arrays; FFTW_ESTIMATE keeps planning
// cheap, so a plan per call costs little next to the transform.
void execute(fftw_plan plan) {
    fftw_execute(plan);
    fftw_destroy_plan(plan);
}

double hann(std::size_t i, std::size_t count) {
    if (count < 2) return 1.0;
    return 0.5 - 0.5 * std::cos(2.0 * std::numbers::pi * static_cast<double>(i) /
                                static_cast<double>(count - 1));
}

bool smooth(std::size_t n) {
    for (std::size_t factor : {2, 3, 5, 7}) {
        while (n % factor == 0) n /= factor;
    }
    return n == 1;
}

} // namespace

std::size_t fastLength(std::size_t n) {
    std::size_t length = n < 2 ? 2 : n;
    while (!smooth(length)) ++length;
    return length;
}

std::vector<Complex> analyticSignal(const double* samples, std::size_t count, double offset) {
    // Twice the length: the circular transform then sees silence between the two ends.
    const std::size_t length = fastLength(2 * count);
    std::vector<double> padded(length, 0.0);
    for (std::size_t i = 0; i < count; ++i) padded[i] = samples[i] - offset;
    std::vector<Complex> spectrum(length);
    execute(fftw_plan_dft_r2c_1d(static_cast<int>(length), padded.data(), asFftw(spectrum),
                                 FFTW_ESTIMATE));
    // Keep the zero and Nyquist bins, double the positive frequencies, drop the negative ones;
    // 1 / length undoes the unnormalised inverse.
    const std::size_t half = length / 2;
    const double scale = 1.0 / static_cast<double>(length);
    spectrum[0] *= scale;
    for (std::size_t k = 1; k < half; ++k) spectrum[k] *= 2.0 * scale;
    spectrum[half] *= scale;
    std::fill(spectrum.begin() + static_cast<std::ptrdiff_t>(half) + 1, spectrum.end(), 0.0);
    execute(fftw_plan_dft_1d(static_cast<int>(length), asFftw(spectrum), asFftw(spectrum),
                             FFTW_BACKWARD, FFTW_ESTIMATE));
    spectrum.resize(count);
    return spectrum;
}

std::vector<double> hannPowerSpectrum(const double* samples, std::size_t count, std::size_t length,
                                      double offset) {
    std::vector<double> weighted(length, 0.0);
    for (std::size_t i = 0; i < count; ++i) weighted[i] = (samples[i] - offset) * hann(i, count);
    std::vector<Complex> spectrum(length / 2 + 1);
    execute(fftw_plan_dft_r2c_1d(static_cast<int>(length), weighted.data(), asFftw(spectrum),
                                 FFTW_ESTIMATE));
    std::vector<double> power(spectrum.size());
    for (std::size_t k = 0; k < spectrum.size(); ++k) power[k] = std::norm(spectrum[k]);
    return power;
}

std::vector<Complex> hannSpectrum(const std::vector<Complex>& samples, std::size_t length) {
    std::vector<Complex> weighted(length, 0.0);
    for (std::size_t i = 0; i < samples.size(); ++i)
        weighted[i] = samples[i] * hann(i, samples.size());
    execute(fftw_plan_dft_1d(static_cast<int>(length), asFftw(weighted), asFftw(weighted),
                             FFTW_FORWARD, FFTW_ESTIMATE));
    return weighted;
}

} // namespace serivane::tools
