#include "engine/SegmentEnvelope.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

SegmentEnvelope Prepared(bool single, float length) {
    SegmentEnvelope env;
    env.Init(single);
    env.Prepare(length);
    return env;
}

// Steps until the segment changes and returns the number of steps taken.
int StepsToNextSegment(SegmentEnvelope& env) {
    const int segment = env.segment;
    int steps = 0;
    while (env.segment == segment && steps < 100000) {
        env.Step();
        ++steps;
    }
    return steps;
}

// Boundaries at a quarter, half and three quarters of a pass, each landing exactly on its level.
TEST(SegmentEnvelope, DefaultVolumePassVisitsItsLevels) {
    SegmentEnvelope env = Prepared(false, 1000.0f);
    const double levels[4] = {0.5, 1.0, 0.5, 0.0};
    int steps = 0;
    for (int i = 0; i < 4; ++i) {
        steps += StepsToNextSegment(env);
        EXPECT_NEAR(steps, 250 * (i + 1), 1) << "segment " << i;
        EXPECT_EQ(env.value, i == 3 ? 0.0 : levels[i]);
    }
    EXPECT_EQ(env.segment, 0);
}

TEST(SegmentEnvelope, LinearFrequencyRampRisesAndRestarts) {
    SegmentEnvelope env = Prepared(true, 100.0f);
    EXPECT_EQ(env.stepFunction, &LinearStep);
    for (int i = 1; i < 100; ++i) {
        env.Step();
        ASSERT_NEAR(env.value, i / 100.0, 1e-12);
    }
    env.Step();
    EXPECT_EQ(env.value, 0.0);
}

// h = 3 over 1000 steps: slow start, fast finish, end level reached within a step of 1000.
TEST(SegmentEnvelope, CurvedSegmentLandsOnItsEndLevel) {
    SegmentEnvelope env;
    env.Init(true);
    env.curvatures[0] = 3.0f;
    env.Prepare(1000.0f);
    EXPECT_EQ(env.stepFunction, &CurvedStep);
    double previous = 0.0;
    int steps = 0;
    while (env.segment == 0 && env.value >= previous) {
        previous = env.value;
        env.Step();
        ++steps;
        if (steps == 500) {
            EXPECT_LT(env.value, 0.25);
        }
    }
    EXPECT_NEAR(steps, 1000, 1);
    EXPECT_EQ(env.value, 0.0);
}

TEST(SegmentEnvelope, SeekAgreesWithStepping) {
    SegmentEnvelope sought = Prepared(false, 1000.0f);
    sought.Seek(0.6);
    EXPECT_EQ(sought.segment, 2);
    SegmentEnvelope stepped = Prepared(false, 1000.0f);
    stepped.segment = 2;
    stepped.value = 1.0;
    for (int i = 0; i < 100; ++i) stepped.Step();
    EXPECT_NEAR(sought.value, stepped.value, 1e-9);

    SegmentEnvelope ramp = Prepared(true, 1000.0f);
    ramp.Seek(0.25);
    EXPECT_NEAR(ramp.value, 0.25, 1e-9);
}

TEST(SegmentEnvelope, CurveValueIsTheClosedFormOfTheRecurrence) {
    const CurveTerms terms = CurveCoefficients(0.2, 0.9, 2.5f, 400);
    double x = 0.2;
    for (int i = 1; i <= 400; ++i) {
        x = terms.multiplier * x + terms.increment;
        if (i == 137) {
            EXPECT_NEAR(CurveValue(0.2, terms.multiplier, terms.increment, i), x, 1e-12);
        }
    }
    EXPECT_NEAR(x, 0.9, 1e-9);
}

// Host automation can put inner points anywhere: every value stays finite and within 0..1, and
// every pass still completes.
TEST(SegmentEnvelope, DegenerateInnerPointsStayBoundedAndKeepLooping) {
    const float layouts[][3] = {{0.5f, 0.5f, 0.5f}, {0.8f, 0.2f, 0.5f},   {0.0f, 0.0f, 0.0f},
                                {1.0f, 1.0f, 1.0f}, {0.75f, 0.5f, 0.25f}, {0.0f, 1.0f, 1.0f}};
    for (const auto& points : layouts) {
        for (float curvature : {0.0f, 4.0f, -9.0f}) {
            SegmentEnvelope env;
            env.Init(false);
            for (float& c : env.curvatures) c = curvature;
            std::copy(points, points + 3, env.innerPoints);
            env.Prepare(200.0f);
            int passes = 0;
            for (int i = 0; i < 2000; ++i) {
                const int segment = env.segment;
                env.Step();
                ASSERT_TRUE(env.value >= 0.0 && env.value <= 1.0) << points[0] << " step " << i;
                if (env.segment < segment) ++passes;
            }
            EXPECT_GE(passes, 4) << points[0] << ", " << points[1] << ", " << points[2];
            for (int k = 0; k < 100; ++k) {
                env.Seek(k / 100.0);
                ASSERT_TRUE(env.value >= 0.0 && env.value <= 1.0) << k;
            }
        }
    }
}

TEST(SegmentEnvelope, UnsizedEnvelopeNeverProducesNaN) {
    for (bool single : {true, false}) {
        SegmentEnvelope env;
        env.Init(single);
        env.Seek(0.3);
        EXPECT_FALSE(std::isnan(env.value));
        for (int i = 0; i < 10; ++i) {
            env.Step();
            ASSERT_TRUE(env.value >= 0.0 && env.value <= 1.0);
        }
    }
}

} // namespace
