#include "EngineSetup.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

constexpr double kPeriod = 6.283185307179586;
constexpr double kLowRate = 8000.0;

// Four tones from "Low Freq" 9 kHz to "High Freq" 10 kHz: every one steps more than a period
// per sample at 8 kHz.
EngineValues AboveTheSampleRate(int wave) {
    EngineValues values = DefaultValues();
    values[1] = 9000;
    values[2] = 10000;
    values[3] = 4;
    values[8] = wave;
    values[11] = 1;
    return values;
}

// The largest ear sum the levels allow, at full gain: every shape lies in [-1, 1].
double Bound(const ToneEngine& engine) {
    double sum = 0.0;
    for (int i = 0; i < engine.Settings().toneCount; ++i)
        sum += engine.Voices().bank.levels[i].scale;
    return sum * engine.TargetGain() * (1.0 + 1e-12);
}

// Records the phases handed to it; the shape itself is a sine.
struct PhaseLog {
    static inline double lowest = 0.0;
    static inline double highest = 0.0;
    static inline double last = 0.0;

    static void Clear() {
        lowest = std::numeric_limits<double>::infinity();
        highest = -lowest;
    }
    static double Wave(const OscillatorBank& bank, double phase) {
        lowest = std::min(lowest, phase);
        highest = std::max(highest, phase);
        last = phase;
        return ApproxSine(bank, phase);
    }
};

TEST(PhaseWrap, BringsAnyPhaseIntoOnePeriod) {
    const double below = std::nextafter(kPeriod, 0.0);
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double infinity = std::numeric_limits<double>::infinity();
    const std::pair<double, double> cases[] = {
        {0.0, 0.0},     {below, below}, {kPeriod, 0.0},  {2 * kPeriod, 0.0}, {-1.0, kPeriod - 1.0},
        {-1e-300, 0.0}, {nan, 0.0},     {infinity, 0.0}, {-infinity, 0.0},
    };
    for (const auto& [phase, wrapped] : cases) {
        EXPECT_EQ(WrapPhase(phase, kPeriod), wrapped) << phase;
    }
    EXPECT_NEAR(WrapPhase(1000.5 * kPeriod, kPeriod), 0.5 * kPeriod, 1e-9);
}

// Without a full wrap the phases run away and Triangle, Saw and Gold. Triangle grow without
// bound.
class EveryShapeAboveTheSampleRate : public testing::TestWithParam<int> {};

TEST_P(EveryShapeAboveTheSampleRate, StaysWithinItsBoundForMinutes) {
    ToneEngine engine(false, false);
    StartEngine(engine, AboveTheSampleRate(GetParam()), kLowRate);
    StereoBlock out(4096);
    const double bound = Bound(engine);
    const int blocks = static_cast<int>(120 * kLowRate / 4096);
    for (int b = 0; b < blocks; ++b) {
        engine.Render(nullptr, out.channels, 4096, true, b * 4096);
        double peak = 0.0;
        for (int t = 0; t < 4096; ++t) {
            peak = std::max({peak, std::fabs(out.left[t]), std::fabs(out.right[t])});
        }
        ASSERT_LE(peak, bound) << "block " << b;
    }
}

INSTANTIATE_TEST_SUITE_P(PhaseWrap, EveryShapeAboveTheSampleRate, testing::Range(0, 7));

// Tones crossing the sample rate (3 kHz to 10 kHz at 8 kHz), with fades running and steady.
TEST(PhaseWrap, WaveFunctionsOnlySeePhasesWithinOnePeriod) {
    EngineValues values = AboveTheSampleRate(0);
    values[1] = 3000;
    ToneEngine engine(false, false);
    StartEngine(engine, values, kLowRate);
    ToneEngineTestAccess::Voices(engine).bank.waveFunction = &PhaseLog::Wave;
    PhaseLog::Clear();
    StereoBlock out(1000);
    for (int b = 0; b < 200; ++b) engine.Render(nullptr, out.channels, 1000, true, 0);
    EXPECT_GE(PhaseLog::lowest, 0.0);
    EXPECT_LT(PhaseLog::highest, kPeriod);
}

// A phase of exactly one period is the start of the next period: Gold. Square gives +1 there
// and -1 just below it. One, two and three tones take the single, paired and four-lane loops,
// with fades running (first block) and steady; at 8 kHz the loop for steps above a period.
class PhaseAtThePeriod : public testing::TestWithParam<std::tuple<int, bool, double>> {};

TEST_P(PhaseAtThePeriod, IsTakenAsPhaseZero) {
    const auto [tones, steady, rate] = GetParam();
    EngineValues values = rate == kLowRate ? AboveTheSampleRate(6) : DefaultValues();
    values[3] = tones;
    values[8] = 6;
    values[11] = 1;
    ToneEngine engine(false, false);
    StartEngine(engine, values, rate);
    StereoBlock out(1);
    if (steady) {
        StereoBlock warmUp(static_cast<int>(rate));
        engine.Render(nullptr, warmUp.channels, static_cast<int>(rate), true, 0);
        ASSERT_FALSE(engine.Voices().levelFades[0][0].active);
    }
    ToneVoices& voices = ToneEngineTestAccess::Voices(engine);
    for (int e = 0; e < kEars; ++e) {
        for (int i = 0; i < tones; ++i) voices.bank.phase[e][i] = voices.bank.period;
    }
    engine.Render(nullptr, out.channels, 1, true, 0);
    EXPECT_GT(out.left[0], 0.0);
    EXPECT_GT(out.right[0], 0.0);
    for (int i = 0; i < tones; ++i) {
        EXPECT_EQ(engine.Voices().bank.phase[0][i], engine.Voices().bank.rates[0][i].value) << i;
    }
}

INSTANTIATE_TEST_SUITE_P(PhaseWrap, PhaseAtThePeriod,
                         testing::Combine(testing::Values(1, 2, 3), testing::Bool(),
                                          testing::Values(kSampleRate, kLowRate)));

// Through the function pointer the phase handed over is exactly 0; the last call is for the
// right ear of the last tone.
TEST(PhaseWrap, InstalledFunctionGetsZeroForAPhaseOfOnePeriod) {
    for (double rate : {kSampleRate, kLowRate}) {
        ToneEngine engine(false, false);
        StartEngine(engine, rate == kLowRate ? AboveTheSampleRate(0) : DefaultValues(), rate);
        ToneVoices& voices = ToneEngineTestAccess::Voices(engine);
        voices.bank.waveFunction = &PhaseLog::Wave;
        StereoBlock out(1);
        engine.Render(nullptr, out.channels, 1, true, 0);
        voices.bank.phase[1][engine.Settings().toneCount - 1] = voices.bank.period;
        engine.Render(nullptr, out.channels, 1, true, 0);
        EXPECT_EQ(PhaseLog::last, 0.0) << rate;
    }
}

} // namespace
