#include "engine/BandName.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// Each bound belongs to the band above it.
TEST(BandName, NamesTheBandOfEachFrequency) {
    const std::pair<float, const char*> cases[] = {
        {0.3f, "EPSILON"},  {0.5f, "DELTA"},    {3.99f, "DELTA"}, {4.0f, "THETA"},
        {13.99f, "ALPHA"},  {14.0f, "BETA"},    {30.0f, "GAMMA"}, {99.9f, "GAMMA"},
        {100.0f, "LAMBDA"}, {150.0f, "LAMBDA"},
    };
    for (const auto& [hz, name] : cases) EXPECT_EQ(std::string(BandName(hz)), name) << hz;
}

} // namespace
