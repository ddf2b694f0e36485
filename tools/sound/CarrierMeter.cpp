#include "tools/sound/CarrierMeter.h"

#include <fftw3.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <numbers>

namespace serivane::tools {

namespace {

// Tones below this are not taken for a carrier (the instrument goes down to 5 Hz).
constexpr double lowestHertz = 4.0;

} // namespace

// A quarter of a second or so: short enough to follow a sweep, long enough to tell tones a few
// hertz apart.
CarrierMeter::CarrierMeter(double sampleRate)
    : sampleRate_(sampleRate),
      frames_(std::bit_ceil(static_cast<std::size_t>(std::max(4096.0, sampleRate / 4.0)))),
      window_(frames_), input_(fftw_alloc_real(frames_)),
      output_(fftw_alloc_complex(frames_ / 2 + 1)),
      plan_(fftw_plan_dft_r2c_1d(static_cast<int>(frames_), input_,
                                 static_cast<fftw_complex*>(output_), FFTW_ESTIMATE)) {
    for (std::size_t i = 0; i < frames_; ++i)
        window_[i] = 0.5 - 0.5 * std::cos(2.0 * std::numbers::pi * i / frames_);
}

CarrierMeter::~CarrierMeter() {
    fftw_destroy_plan(static_cast<fftw_plan>(plan_));
    fftw_free(output_);
    fftw_free(input_);
}

std::optional<double> CarrierMeter::measure(const SoundRing& recent, double beatHertz) {
    if (!recent.latest(frames_, left_, right_)) return std::nullopt;
    return measure(left_, right_, beatHertz);
}

std::optional<double> CarrierMeter::measure(const std::vector<float>& left,
                                            const std::vector<float>& right, double beatHertz) {
    if (left.size() != frames_ || right.size() != frames_) return std::nullopt;
    spectrum(left, leftPower_);
    spectrum(right, rightPower_);
    double binHertz = sampleRate_ / static_cast<double>(frames_);
    auto first = static_cast<std::size_t>(std::ceil(lowestHertz / binHertz));
    std::size_t strongest = 0;
    double most = 0.0;
    for (std::size_t k = std::max<std::size_t>(first, 1); k + 1 < leftPower_.size(); ++k) {
        double power = leftPower_[k] + rightPower_[k];
        if (power > most) {
            most = power;
            strongest = k;
        }
    }
    // Below about -140 dBFS there is nothing to name.
    if (strongest == 0 || most < 1e-14 * static_cast<double>(frames_) * frames_)
        return std::nullopt;
    auto reach = static_cast<std::size_t>(std::ceil(std::fabs(beatHertz) / binHertz)) + 2;
    return 0.5 *
           (peakHertz(leftPower_, strongest, reach) + peakHertz(rightPower_, strongest, reach));
}

void CarrierMeter::spectrum(const std::vector<float>& samples, std::vector<double>& power) {
    for (std::size_t i = 0; i < frames_; ++i) input_[i] = samples[i] * window_[i];
    fftw_execute(static_cast<fftw_plan>(plan_));
    const auto* bins = static_cast<const fftw_complex*>(output_);
    power.resize(frames_ / 2 + 1);
    for (std::size_t k = 0; k < power.size(); ++k)
        power[k] = bins[k][0] * bins[k][0] + bins[k][1] * bins[k][1];
}

// The strongest bin within `reach` of `around`, refined between its neighbours by a parabola
// through their logarithms (close to exact for the Hann window's main lobe).
double CarrierMeter::peakHertz(const std::vector<double>& power, std::size_t around,
                               std::size_t reach) const {
    std::size_t low = around > reach ? around - reach : 1;
    std::size_t high = std::min(around + reach, power.size() - 2);
    std::size_t best = around;
    for (std::size_t k = low; k <= high; ++k) {
        if (power[k] > power[best]) best = k;
    }
    double bin = static_cast<double>(best);
    double a = std::log(power[best - 1] + 1e-300);
    double b = std::log(power[best] + 1e-300);
    double c = std::log(power[best + 1] + 1e-300);
    double curve = a - 2.0 * b + c;
    if (curve < 0.0) bin += 0.5 * (a - c) / curve;
    return bin * sampleRate_ / static_cast<double>(frames_);
}

} // namespace serivane::tools
