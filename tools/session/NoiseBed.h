#pragma once

#include "tools/program/SessionControls.h"
#include "tools/session/NoiseColours.h"
#include "tools/session/ValueCurve.h"

#include <array>
#include <cstdint>
#include <random>

namespace serivane::tools {

// A generated noise laid under the instrument's output, its own in each ear: white, pink or
// brown, each at the same RMS level (0 dB: an RMS of full scale in each ear). The white noise
// comes from a seeded 64-bit Mersenne Twister, whose numbers the standard fixes, turned into
// uniform values by plain arithmetic, so a seed gives the same samples on every platform; and
// it is made frame by frame, so the blocks it is asked for in change nothing.
//
// The level and the colour follow curves over the session's frames; a change of colour fades
// the colours into one another. Construction allocates; addTo() allocates nothing and takes no
// lock, so it may run on an audio callback.
class NoiseBed {
public:
    // `weights` hold, for white, pink and brown in turn, how much of that colour sounds (0 to 1)
    // over the frames.
    NoiseBed(std::uint64_t seed, int sampleRate, LevelCurve level,
             std::array<ValueCurve, noiseColourCount> weights,
             std::array<bool, noiseColourCount> used);

    // Adds the next `frames` of noise to the output channels; a mono output gets the average of
    // both ears.
    template <typename Sample> void addTo(Sample* const* outputs, int outputCount, int frames);

private:
    struct Ear {
        PinkFilter pink;
        BrownFilter brown;
    };

    // A uniform value in [-1, 1) from the next 53 bits of the generator.
    double uniform() { return static_cast<double>(random_() >> 11) * 0x1.0p-52 - 1.0; }
    double earSample(Ear& ear, const std::array<double, noiseColourCount>& weights);

    std::mt19937_64 random_;
    LevelCurve level_;
    std::array<ValueCurve, noiseColourCount> weights_;
    std::array<bool, noiseColourCount> used_;
    std::array<double, noiseColourCount> scales_; // each colour's samples to an RMS of 1
    std::array<Ear, 2> ears_;
};

} // namespace serivane::tools
