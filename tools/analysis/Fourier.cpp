#include "tools/analysis/Fourier.h"

#include <algorithm>
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

// The weights of a Hann window of `count` points in order, stepped by a rotation rather than a
// cosine per point.
class HannWeights {
public:
    explicit HannWeights(std::size_t count)
        : flat_(count < 2),
          step_(std::polar(1.0, flat_ ? 0.0
                                      : 2.0 * std::numbers::pi / static_cast<double>(count - 1))) {}

    double next() {
        if (flat_) return 1.0;
        const double weight = 0.5 - 0.5 * re_;
        const double re = re_ * step_.real() - im_ * step_.imag();
        im_ = re_ * step_.imag() + im_ * step_.real();
        re_ = re;
        return weight;
    }

private:
    bool flat_;
    Complex step_;
    double re_ = 1.0, im_ = 0.0;
};

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

Transforms::~Transforms() {
    release();
}

void Transforms::release() {
    for (fftwf_plan plan : {pairForward_, pairBackward_}) {
        if (plan) fftwf_destroy_plan(plan);
    }
    if (power_) fftw_destroy_plan(power_);
    pairForward_ = pairBackward_ = nullptr;
    power_ = nullptr;
}

Transforms::HilbertPair Transforms::hilbertPair(const double* left, const double* right,
                                                std::size_t count, double leftOffset,
                                                double rightOffset) {
    const std::size_t length = fastLength(count);
    if (pair_.size() != length) {
        if (pairForward_) fftwf_destroy_plan(pairForward_);
        if (pairBackward_) fftwf_destroy_plan(pairBackward_);
        pair_.assign(length, 0.0f);
        auto* values = reinterpret_cast<fftwf_complex*>(pair_.data());
        pairForward_ = fftwf_plan_dft_1d(static_cast<int>(length), values, values, FFTW_FORWARD,
                                         FFTW_ESTIMATE);
        pairBackward_ = fftwf_plan_dft_1d(static_cast<int>(length), values, values, FFTW_BACKWARD,
                                          FFTW_ESTIMATE);
    }
    double largest = 0.0;
    for (std::size_t n = 0; n < count; ++n)
        largest =
            std::max({largest, std::fabs(left[n] - leftOffset), std::fabs(right[n] - rightOffset)});
    int exponent = 0;
    std::frexp(largest, &exponent);
    const double toUnit = std::ldexp(1.0, -exponent);
    for (std::size_t n = 0; n < count; ++n)
        pair_[n] = {static_cast<float>((left[n] - leftOffset) * toUnit),
                    static_cast<float>((right[n] - rightOffset) * toUnit)};
    std::fill(pair_.begin() + static_cast<std::ptrdiff_t>(count), pair_.end(), 0.0f);
    fftwf_execute(pairForward_);
    // The Hilbert transform is real, so applied to left + i·right it gives the two transforms
    // as the real and imaginary parts: -i on the positive frequencies, +i on the negative ones,
    // nothing at zero and Nyquist; 1 / length undoes the unnormalised inverse.
    const float scale = 1.0f / static_cast<float>(length);
    pair_[0] = 0.0f;
    for (std::size_t k = 1; 2 * k < length; ++k)
        pair_[k] = {pair_[k].imag() * scale, -pair_[k].real() * scale};
    if (length % 2 == 0) pair_[length / 2] = 0.0f;
    for (std::size_t k = length / 2 + 1; k < length; ++k)
        pair_[k] = {-pair_[k].imag() * scale, pair_[k].real() * scale};
    fftwf_execute(pairBackward_);
    return {pair_.data(), 1.0 / toUnit};
}

void Transforms::addHannPowerSpectrum(const double* samples, std::size_t count, std::size_t length,
                                      double offset, std::vector<double>& sum) {
    // In place: FFTW transforms a real array of this kind about twice as fast as into another.
    if (spectrumLength_ != length) {
        if (power_) fftw_destroy_plan(power_);
        spectrumLength_ = length;
        spectrum_.assign(length / 2 + 1, 0.0);
        power_ = fftw_plan_dft_r2c_1d(static_cast<int>(length), real(), asFftw(spectrum_),
                                      FFTW_ESTIMATE);
    }
    if (hann_.size() != count) {
        hann_.resize(count);
        HannWeights weights(count);
        for (double& weight : hann_) weight = weights.next();
    }
    double* values = real();
    for (std::size_t i = 0; i < count; ++i) values[i] = (samples[i] - offset) * hann_[i];
    std::fill(values + count, values + 2 * spectrum_.size(), 0.0);
    fftw_execute(power_);
    sum.resize(spectrum_.size(), 0.0);
    for (std::size_t k = 0; k < spectrum_.size(); ++k) sum[k] += std::norm(spectrum_[k]);
}

std::vector<Complex> hannSpectrum(const std::vector<Complex>& samples, std::size_t length) {
    std::vector<Complex> weighted(length, 0.0);
    HannWeights hann(samples.size());
    for (std::size_t i = 0; i < samples.size(); ++i) weighted[i] = samples[i] * hann.next();
    execute(fftw_plan_dft_1d(static_cast<int>(length), asFftw(weighted), asFftw(weighted),
                             FFTW_FORWARD, FFTW_ESTIMATE));
    return weighted;
}

} // namespace serivane::tools
