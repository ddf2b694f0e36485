#pragma once

#include <complex>
#include <cstddef>
#include <fftw3.h>
#include <vector>

namespace serivane::tools {

using Complex = std::complex<double>;
using ComplexFloat = std::complex<float>;

// The smallest length of at least `n` whose prime factors are 2, 3, 5 and 7 only, a length
// FFTW transforms quickly.
std::size_t fastLength(std::size_t n);

// Transforms of lengths that repeat, each with its plan and arrays kept from one call to the next:
// making a plan works out its twiddle factors, which costs about as much as the transform.
class Transforms {
public:
    Transforms() = default;
    ~Transforms();
    Transforms(const Transforms&) = delete;
    Transforms& operator=(const Transforms&) = delete;

    // The Hilbert transforms of two real signals of `count` samples, each less its `offset` (its
    // DC), from one complex transform of the pair and its inverse: the left's are the real parts
    // of the `count` values, the right's their imaginary parts, each times `unit`, so that each
    // analytic signal is {sample - offset, value · unit}. The values stay valid until the next
    // call. The transform is circular: the two ends wrap into each other, so what is measured
    // keeps away from them. It runs in single precision, at nearly twice the speed: its
    // rounding, about 1e-7 of the signal, is that of a 24-bit file's own samples, and moves a
    // beat read from them by well under 1e-6 Hz; the samples are scaled by a power of two (which
    // rounds nothing) so that the largest is near 1 and no sum leaves that precision's range.
    struct HilbertPair {
        const ComplexFloat* values;
        double unit;
    };
    HilbertPair hilbertPair(const double* left, const double* right, std::size_t count,
                            double leftOffset, double rightOffset);

    // Adds |X(k)|² for k = 0 … length / 2 of `count` real samples less `offset` (their DC) under
    // a Hann window of their own length, zero-padded to `length` (at least `count`), to `sum`.
    void addHannPowerSpectrum(const double* samples, std::size_t count, std::size_t length,
                              double offset, std::vector<double>& sum);

private:
    void release();
    // The power spectrum's samples, in place of its spectrum.
    double* real() { return reinterpret_cast<double*>(spectrum_.data()); }

    std::vector<ComplexFloat> pair_;
    fftwf_plan pairForward_ = nullptr, pairBackward_ = nullptr;
    std::size_t spectrumLength_ = 0;
    std::vector<Complex> spectrum_;
    fftw_plan power_ = nullptr;
    // The Hann window of the last count, kept: both ears of a piece share it.
    std::vector<double> hann_;
};

// The forward transform of complex samples under a Hann window of their own length,
// zero-padded to `length`; bin k is frequency k, bins above length / 2 the negative ones.
std::vector<Complex> hannSpectrum(const std::vector<Complex>& samples, std::size_t length);

} // namespace serivane::tools
