#include "tools/LevelMeter.h"

#include <cmath>
#include <gtest/gtest.h>

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

    EXPECT_EQ(decibelText(1.0), "0.00");
    EXPECT_EQ(decibelText(0.5), "-6.02");
    EXPECT_EQ(decibelText(0.0), "-inf");
    EXPECT_EQ(decibelText(LevelMeter().rms()), "-inf");
}

} // namespace
} // namespace serivane::tools
