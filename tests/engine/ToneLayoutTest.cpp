#include "EngineSetup.h"

#include "engine/ParamActions.h"

#include <gtest/gtest.h>

namespace {

class ToneLayoutTest : public testing::Test {
protected:
    void SetUp() override {
        engine.Initialise();
        engine.SetSampleRate(kSampleRate);
    }

    void Set(int index, double value) { engine.ApplyParamKey(index, ParamKey(index, value)); }
    double Hz(double increment) const {
        return increment * kSampleRate / engine.Voices().bank.period;
    }

    ToneEngine engine{false, false};
};

// {carrier, pan, left Hz, right Hz} with a 20 Hz binaural offset; below half the offset the
// lower ear is held at 5 Hz ("Right") or 1 Hz ("Left").
TEST_F(ToneLayoutTest, EarsSplitByTheBinauralOffset) {
    Set(0, 20.0);
    const double cases[][4] = {
        {100, 2, 90, 110}, {100, 0, 110, 90}, {100, 1, 100, 100}, {5, 2, 5, 25}, {5, 0, 21, 1}};
    for (const auto& c : cases) {
        Set(10, c[1]);
        const auto ears = engine.EarIncrements(c[0]);
        EXPECT_NEAR(Hz(ears[0]), c[2], 1e-9) << c[0] << " pan " << c[1];
        EXPECT_NEAR(Hz(ears[1]), c[3], 1e-9) << c[0] << " pan " << c[1];
    }
}

TEST_F(ToneLayoutTest, SpreadSplitsTheRangeIntoBands) {
    Set(10, 1);
    Set(3, 7);
    Set(1, 100);
    Set(2, 800);
    Set(4, 100);
    EXPECT_NEAR(Hz(engine.Voices().bank.rates[0][3].low), 400, 1e-4);
    EXPECT_NEAR(Hz(engine.Voices().bank.rates[1][3].high), 500, 1e-4);
    Set(4, 0);
    EXPECT_NEAR(Hz(engine.Voices().bank.rates[0][3].low), 100, 1e-9);
    EXPECT_NEAR(Hz(engine.Voices().bank.rates[0][3].high), 800, 1e-9);
    Set(1, 800);
    Set(2, 100);
    Set(4, 100);
    EXPECT_NEAR(Hz(engine.Voices().bank.rates[0][0].low), 800, 1e-4);
    EXPECT_NEAR(Hz(engine.Voices().bank.rates[0][0].high), 700, 1e-4);
}

TEST_F(ToneLayoutTest, LevelsRunFromTheOuterTonesTowardsHalf) {
    Set(4, 25);
    Set(3, 7);
    Set(5, 20);
    Set(6, 90);
    Set(7, 80);
    const float low = 0.2f;
    const double expected[7] = {0.2f, (2 * low + 0.5f) / 3, (low + 1) / 3, 0.9f, 0.6f, 0.7f, 0.8f};
    for (int i = 0; i < 7; ++i) {
        EXPECT_NEAR(engine.Voices().bank.levels[i].level, expected[i], 1e-6) << i;
        EXPECT_EQ(engine.Voices().bank.levels[i].scale, engine.Voices().bank.levels[i].level);
    }
    Set(3, 4);
    Set(5, 30);
    EXPECT_NEAR(engine.Voices().bank.levels[1].level, 0.9, 1e-6);
    EXPECT_NEAR(engine.Voices().bank.levels[3].level, 0.8, 1e-6);
    Set(3, 2);
    Set(6, 10);
    EXPECT_NEAR(engine.Voices().bank.levels[0].level, 0.3, 1e-6);
    EXPECT_NEAR(engine.Voices().bank.levels[1].level, 0.8, 1e-6);
    Set(4, 0);
    Set(5, 60);
    EXPECT_NEAR(engine.Voices().bank.levels[0].level, 0.3, 1e-6);
}

} // namespace
