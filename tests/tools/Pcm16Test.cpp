#include "tools/sound/Pcm16.h"
#include "tools/sound/SampleLoops.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <limits>
#include <random>
#include <sndfile.h>
#include <unistd.h>
#include <vector>

namespace serivane::tools {
namespace {

// What libsndfile itself writes to a 16-bit WAV for the interleaved samples, with clipping on.
template <typename Sample>
std::vector<short> libsndfileWrites(const std::vector<Sample>& interleaved, int channels) {
    const std::filesystem::path path = std::filesystem::temp_directory_path() /
                                       ("serivane-pcm16-" + std::to_string(getpid()) + ".wav");
    SF_INFO info{};
    info.samplerate = 48000;
    info.channels = channels;
    info.format = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
    const sf_count_t frames = static_cast<sf_count_t>(interleaved.size()) / channels;
    SNDFILE* out = sf_open(path.c_str(), SFM_WRITE, &info);
    EXPECT_NE(out, nullptr);
    sf_command(out, SFC_SET_CLIPPING, nullptr, SF_TRUE);
    if constexpr (sizeof(Sample) == sizeof(float)) {
        sf_writef_float(out, interleaved.data(), frames);
    } else {
        sf_writef_double(out, interleaved.data(), frames);
    }
    sf_close(out);
    std::vector<short> written(interleaved.size());
    SNDFILE* in = sf_open(path.c_str(), SFM_READ, &info);
    sf_readf_short(in, written.data(), frames);
    sf_close(in);
    std::filesystem::remove(path);
    return written;
}

// Random levels at every scale, near-integer steps that meet the rounding, full scale and
// beyond it, and the non-finite values.
template <typename Sample> std::vector<Sample> awkwardSamples() {
    std::vector<Sample> v = {0,           -0.0,         1,   -1,   0.5,     -0.5,
                             1.0 / 32768, -1.0 / 32768, 1.5, -1.5, 0.99999, -1.00001,
                             3.0 / 65536};
    // Around the top, where the vector loops cap the product.
    for (double top : {1 - 0x1p-15, 1 - 0x1p-16, 1 - 0x1p-17, 1 - 0x1p-31, 1 - 0x1p-40})
        v.push_back(static_cast<Sample>(top));
    v.push_back(std::numeric_limits<Sample>::quiet_NaN());
    v.push_back(std::numeric_limits<Sample>::infinity());
    v.push_back(-std::numeric_limits<Sample>::infinity());
    std::mt19937 random(7);
    std::uniform_real_distribution<double> level(-1.1, 1.1);
    for (int i = 0; i < 20000; ++i)
        v.push_back(static_cast<Sample>(std::ldexp(level(random), -(i % 24))));
    for (int i = 0; i < 20000; ++i) {
        const double step = std::round(level(random) * 32768) / 32768;
        v.push_back(static_cast<Sample>(step + (i % 5 - 2) * 0x1p-33));
    }
    return v;
}

template <typename Sample> void expectSameAsLibsndfile(int channels) {
    std::vector<Sample> interleaved = awkwardSamples<Sample>();
    interleaved.resize(interleaved.size() / channels * channels - channels * 3);
    const int frames = static_cast<int>(interleaved.size()) / channels;
    std::vector<std::vector<Sample>> planar(channels, std::vector<Sample>(frames));
    std::vector<const Sample*> pointers;
    for (int c = 0; c < channels; ++c) {
        for (int f = 0; f < frames; ++f) planar[c][f] = interleaved[f * channels + c];
        pointers.push_back(planar[c].data());
    }
    std::vector<int16_t> ours(interleaved.size());
    toPcm16(pointers.data(), channels, frames, ours.data());
    const std::vector<short> theirs = libsndfileWrites(interleaved, channels);
    for (std::size_t i = 0; i < ours.size(); ++i) {
        ASSERT_EQ(ours[i], theirs[i]) << "sample " << i << ": " << interleaved[i];
    }
}

TEST(Pcm16, ConvertsEverySampleAsLibsndfileDoes) {
    for (int channels : {1, 2, 3}) {
        SCOPED_TRACE(channels);
        expectSameAsLibsndfile<float>(channels);
        expectSameAsLibsndfile<double>(channels);
    }
}

#if defined(SERIVANE_AVX2_LOOPS)
// toPcm16 takes the AVX2 loops where it can; they must convert as the SSE2 ones do.
template <typename Sample> void expectBothWidthsAlike(int wideStep) {
    const std::vector<Sample> samples = awkwardSamples<Sample>();
    const int frames = static_cast<int>(samples.size()) / 2;
    const Sample* left = samples.data();
    const Sample* right = samples.data() + frames;
    std::vector<int16_t> narrow(2 * frames);
    std::vector<int16_t> wide(2 * frames);
    const int narrowFrames = stereoToPcm16Sse2(left, right, frames, narrow.data());
    const int wideFrames = stereoToPcm16Avx2(left, right, frames, wide.data());
    EXPECT_EQ(narrowFrames, frames / 8 * 8);
    EXPECT_EQ(wideFrames, frames / wideStep * wideStep);
    for (int i = 0; i < 2 * wideFrames; ++i) ASSERT_EQ(narrow[i], wide[i]) << "sample " << i;
}

TEST(Pcm16, BothVectorWidthsConvertAlike) {
    if (!hasAvx2()) GTEST_SKIP() << "this processor lacks AVX2";
    expectBothWidthsAlike<float>(16);
    expectBothWidthsAlike<double>(8);
}
#endif

} // namespace
} // namespace serivane::tools
