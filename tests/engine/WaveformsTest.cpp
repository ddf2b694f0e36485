#include "engine/Waveforms.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

constexpr double kTwoPi = 6.283185307179586;

OscillatorBank BankWith(int entry) {
    OscillatorBank bank;
    SetWave(bank, 8, entry);
    return bank;
}

struct KeyPhase {
    int entry;
    double fraction; // of the period
    double expected;
    double tolerance;
};

// Zero crossings, peaks and troughs of every shape; the sine-based ones within the polynomial's
// error.
TEST(Waveforms, ShapesPassTheirKeyPhases) {
    const KeyPhase cases[] = {
        {0, 0.0, 0.0, 0.0},     {0, 0.25, 1.0, 1e-12}, {0, 0.5, 0.0, 1e-15},
        {1, 0.0, 0.0, 1e-15},   {1, 0.25, 1.0, 0.0},   {1, 0.75, -1.0, 1e-15},
        {2, 0.0, 0.0, 1e-15},   {2, 0.5, 1.0, 1e-15},  {2, 0.500001, -1.0, 1e-4},
        {3, 0.0, 0.0, 1e-9},    {3, 0.309, 1.0, 1e-3}, {3, 0.5, 0.0, 1e-3},
        {3, 0.691, -1.0, 1e-3}, {4, 0.0, 0.0, 1e-3},   {4, 0.412, 1.0, 1e-3},
        {4, 0.794, -1.0, 1e-3}, {5, 0.0, 0.0, 1e-6},   {5, 0.309, 1.0, 1e-6},
        {5, 0.691, -1.0, 1e-3}, {6, 0.0, 1.0, 0.0},    {6, 0.617, 1.0, 0.0},
        {6, 0.619, -1.0, 0.0},
    };
    for (const KeyPhase& c : cases) {
        const OscillatorBank bank = BankWith(c.entry);
        EXPECT_NEAR(bank.waveFunction(bank, c.fraction * kTwoPi), c.expected, c.tolerance)
            << "entry " << c.entry << " at " << c.fraction;
    }
}

TEST(Waveforms, EveryShapeStaysWithinRange) {
    for (int entry = 0; entry <= 6; ++entry) {
        const OscillatorBank bank = BankWith(entry);
        for (int i = 0; i < 100000; ++i) {
            const double v = bank.waveFunction(bank, kTwoPi * i / 100000.0);
            ASSERT_TRUE(v >= -1.0 && v <= 1.0) << "entry " << entry << " step " << i << ": " << v;
        }
        ASSERT_TRUE(std::fabs(bank.waveFunction(bank, std::nextafter(kTwoPi, 0.0))) <= 1.0);
    }
}

TEST(Waveforms, SineApproximationHoldsForAnyArgument) {
    const OscillatorBank bank;
    for (double x : {-40.0, -3.0, -0.5, 0.7, 2.5, 9.0, 1000.0}) {
        EXPECT_NEAR(ApproxSine(bank, x), std::sin(x), 4e-4) << x;
    }
}

// The golden expressions are formed in single precision before they meet a double.
TEST(Waveforms, GoldenConstantsUseSinglePrecisionRatios) {
    const float g = 0.618f;
    EXPECT_EQ(BankWith(3).switchPoint, static_cast<double>(1.0f - g) * kTwoPi);
    EXPECT_EQ(BankWith(4).slope2, 0.25 / static_cast<double>(1.0f - g));
    EXPECT_EQ(BankWith(5).slope2, static_cast<double>((1.0f + g) / (1.0f - g)));
    EXPECT_EQ(BankWith(6).switchPoint, 3.8830083370775546);
    EXPECT_EQ(OscillatorBank().switchPoint, BankWith(6).switchPoint);
}

TEST(Waveforms, SetWaveOnlyActsOnKnownEntriesOfTheWaveParameter) {
    OscillatorBank bank;
    EXPECT_EQ(bank.waveFunction, &SineWave);
    SetWave(bank, 7, 2);
    EXPECT_EQ(bank.waveIndex, 0);
    SetWave(bank, 8, 2);
    SetWave(bank, 8, 9);
    EXPECT_EQ(bank.waveIndex, 9);
    EXPECT_EQ(bank.waveFunction, &SawWave);
}

} // namespace
