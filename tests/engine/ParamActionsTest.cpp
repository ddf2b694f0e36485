#include "EngineSetup.h"

#include "engine/ParamActions.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

TEST(ParamKey, ScalesThenRoundsHalfAwayFromZero) {
    struct Case {
        int index;
        double value;
        int32_t key;
    };
    const Case cases[] = {{0, 10.001, 1000},   {0, 10.004, 1000}, {0, 10.006, 1001},
                          {1, 1500.04, 15000}, {9, 0.15, 2},      {21, 75.0, 750},
                          {4, -2.5, -3},       {14, -0.4, 0},     {12, 99.5, 100}};
    for (const Case& c : cases) EXPECT_EQ(ParamKey(c.index, c.value), c.key) << c.value;
}

TEST(ParamKey, SaturatesInsteadOfOverflowing) {
    EXPECT_EQ(ParamKey(0, std::numeric_limits<double>::quiet_NaN()), 0);
    EXPECT_EQ(ParamKey(0, 1e300), INT32_MAX);
    EXPECT_EQ(ParamKey(3, -std::numeric_limits<double>::infinity()), INT32_MIN);
}

TEST(ParamKeyFilter, ActsOnlyOnChangedKeys) {
    ParamKeyFilter filter;
    EXPECT_TRUE(filter.Changed(0, 0));
    EXPECT_FALSE(filter.Changed(0, 0));
    EXPECT_TRUE(filter.Changed(0, 1001));
    EXPECT_TRUE(filter.Changed(21, 0));
    filter.Forget(0);
    EXPECT_TRUE(filter.Changed(0, 1001));
    EXPECT_FALSE(filter.Changed(22, 5));
    EXPECT_FALSE(filter.Changed(-1, 5));
}

class ParamActionsTest : public testing::Test {
protected:
    void Set(int index, double value) { engine.ApplyParamKey(index, ParamKey(index, value)); }

    ToneEngine engine{false, false};
};

TEST_F(ParamActionsTest, RateWaitsForTheFirstBlock) {
    Set(9, 60);
    EXPECT_EQ(engine.EnvelopeLength(), 0.0f);
    StartEngine(engine, DefaultValues());
    EXPECT_EQ(engine.EnvelopeLength(), 5760000.0f);
    EXPECT_EQ(engine.Voices().volEnvelopes[15].length, 5760000.0f);
}

TEST_F(ParamActionsTest, VolumeAndToneCountSetTheTargetGain) {
    Set(3, 4);
    Set(12, 100);
    EXPECT_EQ(engine.TargetGain(), static_cast<double>(0.8001f / 2.0f));
    Set(3, 16);
    EXPECT_EQ(engine.TargetGain(), static_cast<double>(0.8001f / 4.0f));
}

TEST_F(ParamActionsTest, ToneCountStaysWithinTheSlots) {
    Set(3, 40);
    EXPECT_EQ(engine.Settings().toneCount, 16);
    Set(3, 0);
    EXPECT_EQ(engine.Settings().toneCount, 1);
}

TEST_F(ParamActionsTest, PlayAnywayRestartsWhenSwitchedOn) {
    Set(11, 1);
    EXPECT_TRUE(engine.Settings().playAnyway);
    EXPECT_TRUE(engine.RestartPending());
    ToneEngineTestAccess::RestartRequested(engine) = false;
    Set(11, 0);
    EXPECT_FALSE(engine.Settings().playAnyway);
    EXPECT_FALSE(engine.RestartPending());
}

} // namespace
