#include "tools/session/NoiseBed.h"
#include "tools/analysis/Fourier.h"

#include <cmath>
#include <gtest/gtest.h>
#include <numeric>

namespace serivane::tools {
namespace {

constexpr int rate = 48000;

struct Stereo {
    std::vector<double> left, right;
};

// A bed of one colour throughout, or `weights` moving between colours.
NoiseBed bed(NoiseColour colour, double decibels = -20.0, std::uint64_t seed = 1,
             const std::vector<ValueCurve::Move>& level = {},
             std::array<ValueCurve, noiseColourCount> weights = {}) {
    std::array<bool, noiseColourCount> used{};
    for (std::size_t c = 0; c < noiseColourCount; ++c) {
        bool sounding = static_cast<std::size_t>(colour) == c + 1;
        if (sounding) weights[c] = ValueCurve(1.0);
        used[c] = true;
    }
    return NoiseBed(seed, rate, LevelCurve(decibels, level), weights, used);
}

// The bed added to silence in blocks of `block` frames.
Stereo play(NoiseBed noise, std::size_t frames, int block = 4096) {
    Stereo out{std::vector<double>(frames), std::vector<double>(frames)};
    for (std::size_t done = 0; done < frames;) {
        int count = static_cast<int>(std::min<std::size_t>(block, frames - done));
        double* channels[] = {out.left.data() + done, out.right.data() + done};
        noise.addTo(channels, 2, count);
        done += static_cast<std::size_t>(count);
    }
    return out;
}

double rms(const std::vector<double>& samples, std::size_t from, std::size_t to) {
    double sum = 0.0;
    for (std::size_t i = from; i < to; ++i) sum += samples[i] * samples[i];
    return std::sqrt(sum / static_cast<double>(to - from));
}

// The averaged power spectrum of one ear over segments of `length` frames, half overlapping.
std::vector<double> spectrum(const std::vector<double>& samples, std::size_t length) {
    std::vector<double> sum(length / 2 + 1, 0.0);
    Transforms transforms;
    for (std::size_t at = 0; at + length <= samples.size(); at += length / 2)
        transforms.addHannPowerSpectrum(samples.data() + at, length, length, 0.0, sum);
    return sum;
}

// The mean power density in dB of the third of an octave around `hz`.
double bandLevel(const std::vector<double>& power, std::size_t length, double hz) {
    double binHz = static_cast<double>(rate) / static_cast<double>(length);
    auto low = static_cast<std::size_t>(std::ceil(hz * std::pow(2.0, -1.0 / 6.0) / binHz));
    auto high = static_cast<std::size_t>(std::floor(hz * std::pow(2.0, 1.0 / 6.0) / binHz));
    double sum = std::accumulate(power.begin() + static_cast<std::ptrdiff_t>(low),
                                 power.begin() + static_cast<std::ptrdiff_t>(high) + 1, 0.0);
    return 10.0 * std::log10(sum / static_cast<double>(high - low + 1));
}

// Each colour falls by its own slope within 1 dB from 40 Hz to 16 kHz, at its RMS level, with no
// DC and nothing shared between the ears.
TEST(NoiseBed, EachColourFallsByItsSlopeAtItsLevelWithoutDcAndApartInEachEar) {
    const std::size_t frames = std::size_t{1} << 21;
    const std::size_t length = 65536;
    for (auto [colour, slope] : {std::pair{NoiseColour::White, 0.0},
                                 {NoiseColour::Pink, -3.0},
                                 {NoiseColour::Brown, -6.0}}) {
        SCOPED_TRACE(std::string(noiseColourName(colour)));
        Stereo noise = play(bed(colour), frames);
        for (const std::vector<double>* ear : {&noise.left, &noise.right}) {
            EXPECT_NEAR(20.0 * std::log10(rms(*ear, 0, frames)), -20.0, 0.5);
            double mean = std::accumulate(ear->begin(), ear->end(), 0.0) / frames;
            EXPECT_LT(std::fabs(mean), 1e-3);
            std::vector<double> power = spectrum(*ear, length);
            std::vector<double> offsets; // each band's level above the ideal line through 0 dB
            const int bands = 27; // about three an octave, the first at 40 Hz, the last at 16 kHz
            for (int b = 0; b < bands; ++b) {
                double octaves = std::log2(400.0) * b / (bands - 1);
                offsets.push_back(bandLevel(power, length, 40.0 * std::pow(2.0, octaves)) -
                                  slope * octaves);
            }
            double middle = std::accumulate(offsets.begin(), offsets.end(), 0.0) / offsets.size();
            for (std::size_t b = 0; b < offsets.size(); ++b)
                EXPECT_NEAR(offsets[b], middle, 1.0) << "band " << b;
        }
        double shared =
            std::inner_product(noise.left.begin(), noise.left.end(), noise.right.begin(), 0.0) /
            (rms(noise.left, 0, frames) * rms(noise.right, 0, frames) * frames);
        EXPECT_LT(std::fabs(shared), 0.1);
    }
}

// A seed gives the same noise whatever the blocks it is made in, while its level glides in dB
// and white fades into brown; another seed gives another noise.
TEST(NoiseBed, ASeedRepeatsAtEveryBlockSizeThroughGlidesOfLevelAndColour) {
    const std::size_t frames = 2 * rate;
    auto gliding = [](std::uint64_t seed) {
        std::array<ValueCurve, noiseColourCount> weights = {
            ValueCurve(1.0, {{rate / 2, rate, 0.0}}), ValueCurve(0.0),
            ValueCurve(0.0, {{rate / 2, rate, 1.0}})};
        return bed(NoiseColour::Off, -20.0, seed, {{rate / 2, rate + rate / 2, -40.0}}, weights);
    };
    Stereo whole = play(gliding(7), frames, static_cast<int>(frames));
    for (int block : {1, 333, 4096}) {
        Stereo blocks = play(gliding(7), frames, block);
        EXPECT_EQ(blocks.left, whole.left) << block;
        EXPECT_EQ(blocks.right, whole.right) << block;
    }
    EXPECT_NE(play(gliding(8), frames).left, whole.left);
    // -20 dB before the glide, -40 dB after it, and half-way at -30 dB.
    EXPECT_NEAR(20.0 * std::log10(rms(whole.left, 0, rate / 2)), -20.0, 0.5);
    EXPECT_NEAR(20.0 * std::log10(rms(whole.left, rate - 2400, rate + 2400)), -30.0, 1.5);
    EXPECT_NEAR(20.0 * std::log10(rms(whole.left, rate + rate / 2, frames)), -40.0, 1.5);
}

} // namespace
} // namespace serivane::tools
