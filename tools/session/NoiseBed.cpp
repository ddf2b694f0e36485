#include "tools/session/NoiseBed.h"

#include <cmath>

namespace serivane::tools {

namespace {

constexpr std::size_t white = 0;
constexpr std::size_t pink = 1;
constexpr std::size_t brown = 2;

// The factor that brings a filter's answer to uniform white noise in [-1, 1) (variance 1/3)
// to an RMS of 1: from the energy of its answer to an impulse.
template <typename Filter> double unitScale(Filter filter, int frames) {
    double energy = 0.0;
    for (int f = 0; f < frames; ++f) {
        double answer = filter.next(f == 0 ? 1.0 : 0.0);
        energy += answer * answer;
    }
    return std::sqrt(3.0 / energy);
}

} // namespace

NoiseBed::NoiseBed(std::uint64_t seed, int sampleRate, LevelCurve level,
                   std::array<ValueCurve, noiseColourCount> weights,
                   std::array<bool, noiseColourCount> used)
    : random_(seed), level_(level), weights_(weights),
      used_(used), ears_{Ear{PinkFilter(sampleRate), BrownFilter(sampleRate)},
                         Ear{PinkFilter(sampleRate), BrownFilter(sampleRate)}} {
    PinkFilter pinkFilter(sampleRate);
    BrownFilter brownFilter(sampleRate);
    scales_[white] = std::sqrt(3.0);
    scales_[pink] = unitScale(pinkFilter, pinkFilter.settleFrames());
    scales_[brown] = unitScale(brownFilter, brownFilter.settleFrames());
}

double NoiseBed::earSample(Ear& ear, const std::array<double, noiseColourCount>& weights) {
    double x = uniform();
    double sum = 0.0;
    if (used_[white]) sum += weights[white] * scales_[white] * x;
    if (used_[pink]) sum += weights[pink] * scales_[pink] * ear.pink.next(x);
    if (used_[brown]) sum += weights[brown] * scales_[brown] * ear.brown.next(x);
    return sum;
}

template <typename Sample>
void NoiseBed::addTo(Sample* const* outputs, int outputCount, int frames) {
    std::array<double, noiseColourCount> weights{};
    for (int f = 0; f < frames; ++f) {
        double gain = level_.next();
        for (std::size_t c = 0; c < noiseColourCount; ++c) weights[c] = weights_[c].next();
        double left = gain * earSample(ears_[0], weights);
        double right = gain * earSample(ears_[1], weights);
        if (outputCount == 1) {
            outputs[0][f] += static_cast<Sample>(0.5 * (left + right));
        } else if (outputCount >= 2) {
            outputs[0][f] += static_cast<Sample>(left);
            outputs[1][f] += static_cast<Sample>(right);
        }
    }
}

template void NoiseBed::addTo<float>(float* const*, int, int);
template void NoiseBed::addTo<double>(double* const*, int, int);

} // namespace serivane::tools
