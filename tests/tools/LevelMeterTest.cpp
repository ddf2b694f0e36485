#include "tools/sound/LevelMeter.h"
#include "tools/report/NumberText.h"
#include "tools/sound/SampleLoops.h"

#include <cmath>
#include <gtest/gtest.h>
#include <utility>
#include <vector>

namespace serivane::tools {
namespace {

TEST(LevelMeter, MeasuresPeakAndRmsAndSetsNonFiniteSamplesApart) {
    LevelMeter meter;
    const float square[] = {0.5f, -0.5f, 0.5f, -0.5f};
    meter.add(square, 4);
    const double spike[] = {-1.0, NAN, INFINITY};
    meter.add(spike, 3);
    EXPECT_DOUBLE_EQ(meter.peak(), 1.0);
    EXPECT_DOUBLE_EQ(meter.rms(), std::sqrt((4 * 0.25 + 1.0) / 5));
    EXPECT_EQ(meter.nonFinite(), 2);

    EXPECT_EQ(decibelText(1.0), "0.0");
    EXPECT_EQ(decibelText(0.5), "-6.0");
    EXPECT_EQ(decibelText(0.999), "0.0") << "no sign on a level that rounds to 0";
    EXPECT_EQ(decibelText(0.0), "-inf");
    EXPECT_EQ(decibelText(LevelMeter().rms()), "-inf");
}

// Long enough for the vector loop, with the non-finite values inside it.
TEST(LevelMeter, LongBlocksCountTheSameAsShortOnes) {
    std::vector<double> samples(1001);
    for (std::size_t i = 0; i < samples.size(); ++i) samples[i] = std::sin(0.01 * i) * 0.5;
    samples[17] = NAN;
    samples[40] = -INFINITY;
    samples[300] = -0.75;
    LevelMeter whole;
    whole.add(samples.data(), 1001);
    LevelMeter oneByOne;
    for (double s : samples) oneByOne.add(&s, 1);
    EXPECT_EQ(whole.peak(), 0.75);
    EXPECT_EQ(whole.nonFinite(), 2);
    EXPECT_NEAR(whole.rms(), oneByOne.rms(), 1e-15);
}

// Floats take a loop of their own; it must give what the same samples give in double, to the bit.
TEST(LevelMeter, FloatsMeasureAsTheSameSamplesInDouble) {
    std::vector<float> floats(1003);
    for (std::size_t i = 0; i < floats.size(); ++i) floats[i] = std::sin(0.013f * i) * 0.6f;
    floats[5] = NAN;
    floats[9] = INFINITY;
    floats[400] = -0.9f;
    floats[1001] = -INFINITY;
    const std::vector<double> doubles(floats.begin(), floats.end());
    LevelMeter single;
    single.add(floats.data(), 1003);
    LevelMeter wide;
    wide.add(doubles.data(), 1003);
    EXPECT_EQ(single.peak(), static_cast<double>(-floats[400]));
    EXPECT_EQ(single.nonFinite(), 3);
    EXPECT_EQ(single.rms(), wide.rms());
}

#if defined(SERIVANE_AVX2_LOOPS)
// The AVX2 loops must gather what the SSE2 float loop does, partial sum for partial sum, the
// double one from the same samples in double.
TEST(LevelMeter, BothVectorWidthsGatherTheSameLevels) {
    if (!hasAvx2()) GTEST_SKIP() << "this processor lacks AVX2";
    std::vector<float> floats(2003);
    for (std::size_t i = 0; i < floats.size(); ++i) floats[i] = std::sin(0.007f * i) * 0.8f;
    floats[3] = NAN;
    floats[700] = -INFINITY;
    floats[1500] = 0.99f;
    const std::vector<double> doubles(floats.begin(), floats.end());
    // From 4 to 699 every sample is finite, which the float loop takes without masks.
    const std::pair<std::size_t, std::int64_t> spans[] = {{0, 0},    {0, 7},   {0, 8},  {0, 9},
                                                          {0, 2003}, {4, 696}, {4, 705}};
    for (auto [start, count] : spans) {
        const SampleLevels narrow = floatLevelsSse2(floats.data() + start, count);
        for (const SampleLevels& wide : {floatLevelsAvx2(floats.data() + start, count),
                                         doubleLevelsAvx2(doubles.data() + start, count)}) {
            EXPECT_EQ(wide.covered, count / 8 * 8);
            EXPECT_EQ(narrow.covered, wide.covered);
            EXPECT_EQ(narrow.peak, wide.peak);
            EXPECT_EQ(narrow.nonFinite, wide.nonFinite);
            for (int k = 0; k < 8; ++k)
                EXPECT_EQ(narrow.sums[k], wide.sums[k]) << count << " " << k;
        }
    }
}
#endif

} // namespace
} // namespace serivane::tools
