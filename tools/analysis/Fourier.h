#pragma once

#include <complex>
#include <cstddef>
#include <vector>

namespace serivane::tools {

using Complex = std::complex<double>;

// The smallest length of at least `n` whose prime factors are 2, 3, 5 and 7 only, a length
// FFTW transforms quickly.
std::size_t fastLength(std::size_t n);

// The analytic signal of `count` real samples less `offset` (their DC): the signal plus i times
// its Hilbert transform, taken over a zero-padded transform so that the two ends do not wrap
// into each other.
std::vector<Complex> analyticSignal(const double* samples, std::size_t count, double offset);

// |X(k)|² for k = 0 … length / 2 of `count` real samples less `offset` (their DC) under a Hann
// window of their own length, zero-padded to `length` (at least `count`).
std::vector<double> hannPowerSpectrum(const double* samples, std::size_t count, std::size_t length,
                                      double offset);

// The forward transform of complex samples under a Hann window of their own length,
// zero-padded to `length`; bin k is frequency k, bins above length / 2 the negative ones.
std::vector<Complex> hannSpectrum(const std::vector<Complex>& samples, std::size_t length);

} // namespace serivane::tools
