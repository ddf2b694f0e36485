#include "engine/BandName.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <tuple>

namespace {

// Each bound belongs to the band above it: exactly at it is the upper band, the next float
// below it the lower one.
TEST(BandName, EveryBoundBelongsToTheBandAboveIt) {
    const std::tuple<float, const char*, const char*> bounds[] = {
        {0.5f, "EPSILON", "DELTA"}, {4.0f, "DELTA", "THETA"}, {8.0f, "THETA", "ALPHA"},
        {14.0f, "ALPHA", "BETA"},   {30.0f, "BETA", "GAMMA"}, {100.0f, "GAMMA", "LAMBDA"},
    };
    for (const auto& [bound, below, at] : bounds) {
        EXPECT_EQ(std::string(BandName(std::nextafter(bound, 0.0f))), below) << bound;
        EXPECT_EQ(std::string(BandName(bound)), at) << bound;
    }
}

// Only frequencies above 0 are EPSILON; 0 and below fall through to DELTA.
TEST(BandName, NamesTheBandOfEachFrequency) {
    const std::pair<float, const char*> cases[] = {
        {std::nextafter(0.0f, 1.0f), "EPSILON"},
        {0.0f, "DELTA"},
        {-1.0f, "DELTA"},
        {0.3f, "EPSILON"},
        {13.99f, "ALPHA"},
        {150.0f, "LAMBDA"},
    };
    for (const auto& [hz, name] : cases) EXPECT_EQ(std::string(BandName(hz)), name) << hz;
}

} // namespace
