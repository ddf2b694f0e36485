#include "tools/session/AmbientMix.h"
#include "support/SignalMeasures.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <random>

namespace serivane::tools {
namespace {

struct Stereo {
    std::vector<float> left, right;
};

// The mix alone, added to silence in blocks of an awkward size.
Stereo play(AmbientMix& mix, std::size_t frames, int block = 317) {
    Stereo out{std::vector<float>(frames), std::vector<float>(frames)};
    for (std::size_t done = 0; done < frames;) {
        int count = static_cast<int>(std::min<std::size_t>(block, frames - done));
        float* channels[] = {out.left.data() + done, out.right.data() + done};
        mix.addTo(channels, 2, count);
        done += static_cast<std::size_t>(count);
    }
    return out;
}

SoundBuffer noise(int rate, std::size_t frames, int channels) {
    std::mt19937 random(7);
    std::uniform_real_distribution<float> uniform(-0.5f, 0.5f);
    SoundBuffer buffer{rate, channels, std::vector<float>(frames * channels)};
    for (float& s : buffer.samples) s = uniform(random);
    return buffer;
}

std::vector<float> slice(const std::vector<float>& samples, std::size_t from, std::size_t to) {
    return {samples.begin() + static_cast<std::ptrdiff_t>(from),
            samples.begin() + static_cast<std::ptrdiff_t>(to)};
}

TEST(AmbientMix, AtTheSameRateTheRecordingPlaysAsItIsThenLoopsFromPastTheSeam) {
    SoundBuffer recording = noise(48000, 24000, 2);
    AmbientMix mix(recording, 48000, -6.0);
    const float gain = std::pow(10.0f, -6.0f / 20.0f);
    Stereo out = play(mix, 60000);
    const std::size_t seam = 4800; // the crossfade's frames at 48 kHz
    for (std::size_t f : {std::size_t{0}, std::size_t{1000}, 24000 - seam - 1}) {
        EXPECT_FLOAT_EQ(out.left[f], gain * recording.samples[2 * f]) << f;
        EXPECT_FLOAT_EQ(out.right[f], gain * recording.samples[2 * f + 1]) << f;
    }
    // After the end the loop goes on where the crossfade ended.
    for (std::size_t k : {std::size_t{0}, std::size_t{5000}, std::size_t{24000 - 2 * seam - 1}}) {
        EXPECT_FLOAT_EQ(out.left[24000 + k], gain * recording.samples[2 * (seam + k)]) << k;
        EXPECT_FLOAT_EQ(out.left[24000 + 19200 + k], gain * recording.samples[2 * (seam + k)]);
    }
}

TEST(AmbientMix, AShortRecordingLoopsWithoutClickOrDropInLevel) {
    // A tone whose period does not divide the recording: a bare loop would jump at the seam.
    const int rate = 44100;
    SoundBuffer tone{rate, 1, measure::tone(441.7, rate, 0.37, 0.5)};
    AmbientMix toneMix(tone, 48000, 0.0);
    Stereo toneOut = play(toneMix, 48000 * 2);
    EXPECT_LT(measure::largestStep(toneOut.left), 1.5 * measure::largestStep(tone.samples));

    // Noise keeps its level through every pass, the seams included.
    SoundBuffer rain = noise(rate, 16000, 1);
    AmbientMix rainMix(rain, 48000, 0.0);
    Stereo rainOut = play(rainMix, 48000 * 2);
    double level = measure::rms(rain.samples, 0, rain.samples.size());
    for (std::size_t from = 0; from + 4800 <= rainOut.left.size(); from += 4800) {
        double chunk = measure::rms(rainOut.left, from, from + 4800);
        EXPECT_NEAR(20.0 * std::log10(chunk / level), 0.0, 1.0) << "at frame " << from;
    }
    EXPECT_EQ(rainOut.left, rainOut.right) << "a mono recording sounds the same in both ears";
}

TEST(AmbientMix, ConvertedToTheOutputRateAToneKeepsItsFrequencyWithoutImages) {
    struct Case {
        int from;
        double frequency;
        std::vector<double> images; // where images or aliases would land at 48 kHz
    };
    // 44.1 kHz up: images at 44.1 kHz -/+ f fold to 48 kHz minus those; 96 kHz down: a tone
    // above 24 kHz must vanish rather than fold to 48 kHz - f.
    for (const Case& c :
         {Case{44100, 1000.0, {2900.0, 4900.0}}, Case{44100, 15000.0, {11100.0, 18900.0}},
          Case{96000, 1000.0, {}}, Case{96000, 30000.0, {18000.0}}}) {
        SoundBuffer recording{c.from, 1, measure::tone(c.frequency, c.from, 3.0, 0.5)};
        AmbientMix mix(recording, 48000, 0.0);
        Stereo out = play(mix, 48000 * 2);
        std::vector<float> steady = slice(out.left, 4800, 4800 + 48000);
        for (double image : c.images) {
            EXPECT_LT(measure::amplitudeAt(steady, image, 48000), 0.5e-4)
                << c.frequency << " Hz from " << c.from << " Hz at " << image << " Hz";
        }
        if (c.frequency >= 24000.0) {
            EXPECT_LT(measure::rms(steady, 0, steady.size()), 1e-4) << "folded back";
            continue;
        }
        EXPECT_NEAR(measure::frequencyOf(steady, 48000), c.frequency, c.frequency * 1e-5) << c.from;
        EXPECT_NEAR(measure::amplitudeAt(steady, c.frequency, 48000), 0.5, 0.5 * 0.012)
            << c.frequency << " Hz from " << c.from << " Hz";
    }
}

TEST(AmbientMix, ARecordingOfAFewFramesStillLoopsAtAnyRatio) {
    // Three frames of a steady level: the one-frame crossfade lifts a steady level by up to
    // 3 dB, as equal power does for anything that matches itself across the seam.
    for (int from : {8000, 48000, 384000}) {
        SoundBuffer tiny{from, 2, {0.25f, -0.25f, 0.25f, -0.25f, 0.25f, -0.25f}};
        AmbientMix mix(tiny, 48000, 0.0);
        Stereo out = play(mix, 4800);
        for (std::size_t f = out.left.size() - 100; f < out.left.size(); ++f) {
            EXPECT_GT(out.left[f], 0.2f) << from;
            EXPECT_LT(out.left[f], 0.36f) << from;
            EXPECT_FLOAT_EQ(out.right[f], -out.left[f]) << from;
        }
    }
}

TEST(AmbientMix, ConvertedToTheOutputRateAClickKeepsItsTime) {
    SoundBuffer click{8000, 1, std::vector<float>(2000)};
    click.samples[500] = 1.0f;
    AmbientMix mix(click, 48000, 0.0);
    std::vector<float> left = play(mix, 6000).left;
    EXPECT_EQ(std::max_element(left.begin(), left.end()) - left.begin(), 3000);
}

TEST(AmbientMix, AMonoOutputGetsTheAverageOfBothEars) {
    SoundBuffer recording{48000, 2, {0.5f, 0.1f, 0.5f, 0.1f}};
    AmbientMix mix(recording, 48000, 0.0);
    std::vector<double> out(2, 1.0);
    double* channels[] = {out.data()};
    mix.addTo(channels, 1, 2);
    EXPECT_DOUBLE_EQ(out[0], 1.0 + static_cast<double>(0.5f * (0.5f + 0.1f)));
}

} // namespace
} // namespace serivane::tools
