#include "EngineSetup.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <tuple>

namespace {

// Seven tones with linear frequency envelopes, so a frequency envelope's value is its position
// in the pass. A silent first block takes the restart that starting requests.
class ToneCycleTest : public testing::Test {
protected:
    void SetUp() override {
        StartEngine(engine, DefaultValues());
        StereoBlock out(1);
        engine.Render(nullptr, out.channels, 1, false, 0);
        SegmentEnvelope ramp;
        ramp.Init(true);
        engine.ApplyEnvelopeDefinition(ramp, EnvelopeKind::Frequency, 0);
    }

    double Position(int tone) const { return engine.Voices().freqEnvelopes[tone].value; }

    ToneEngine engine{false, false};
};

TEST_F(ToneCycleTest, HostPositionPlacesEvenlySpreadTones) {
    const int32_t pass = static_cast<int32_t>(engine.EnvelopeLength() / 2);
    engine.ReseekTones(Reseek::FromHostPosition, 0);
    EXPECT_NEAR(Position(3) - Position(0), 3.0 / 7, 1e-6);
    engine.ReseekTones(Reseek::FromHostPosition, pass);
    EXPECT_NEAR(Position(0), 0.5, 1e-6);
    engine.ReseekTones(Reseek::FromHostPosition, -pass / 2);
    EXPECT_NEAR(Position(0), 0.75, 1e-6);
    EXPECT_NEAR(Position(2), 0.75 + 2.0 / 7 - 1.0, 1e-6);
}

TEST_F(ToneCycleTest, KeepingToneZeroPlacesTheOthersAroundIt) {
    ToneEngineTestAccess::Voices(engine).freqEnvelopes[0].Seek(0.3);
    ToneEngineTestAccess::Voices(engine).freqEnvelopes[0].Step();
    const double tone0 = Position(0);
    engine.ReseekTones(Reseek::AroundToneZero);
    EXPECT_EQ(Position(0), tone0);
    EXPECT_NEAR(Position(2), tone0 + 2.0 / 7, 1e-6);
}

// Change codes: 2j + 1 inner point j, 2j curvature j, 2 * count the whole shape, -1 nothing.
TEST_F(ToneCycleTest, EnvelopePushCopiesOnlyTheEditedElement) {
    SegmentEnvelope edit;
    edit.Init(false);
    const float points[3] = {0.1f, 0.2f, 0.3f};
    std::copy(points, points + 3, edit.innerPoints);
    for (float& c : edit.curvatures) c = -7.0f;
    auto pushed = [&](int code) {
        SegmentEnvelope& target = ToneEngineTestAccess::Voices(engine).volEnvelopes[15];
        target.Init(false);
        engine.ApplyEnvelopeDefinition(edit, EnvelopeKind::Volume, code);
        return target;
    };
    SegmentEnvelope target = pushed(3);
    EXPECT_EQ(target.innerPoints[1], 0.2f);
    EXPECT_EQ(target.innerPoints[0], 0.25f);
    EXPECT_EQ(target.curvatures[1], -4.0f);
    target = pushed(4);
    EXPECT_EQ(target.curvatures[2], -7.0f);
    EXPECT_EQ(target.curvatures[0], 4.0f);
    target = pushed(8);
    EXPECT_EQ(target.innerPoints[2], 0.3f);
    EXPECT_EQ(target.curvatures[3], -7.0f);
    for (int code : {-1, 7, 9}) EXPECT_EQ(pushed(code).innerPoints[0], 0.25f) << code;
}

TEST_F(ToneCycleTest, EnvelopePushRestartsTheMatchingFades) {
    engine.ResetToneFades(ToneSelection::EverySounding);
    SegmentEnvelope edit;
    edit.Init(false);
    engine.ApplyEnvelopeDefinition(edit, EnvelopeKind::Volume, 8);
    EXPECT_TRUE(engine.Voices().levelFades[1][6].active);
    EXPECT_FALSE(engine.Voices().rateFades[1][6].active);
    edit.Init(true);
    engine.ApplyEnvelopeDefinition(edit, EnvelopeKind::Frequency, 2);
    EXPECT_TRUE(engine.Voices().rateFades[0][6].active);
    EXPECT_FALSE(engine.Voices().rateFades[0][7].active);
}

// The fraction of a pass at which a frequency envelope of this curvature and length reaches the
// value: bisection over its own Seek, so the curve is the one its steps follow.
double PositionOn(const SegmentEnvelope& shape, double value) {
    SegmentEnvelope probe = shape;
    double below = 0.0;
    double above = 1.0;
    for (int i = 0; i < 60; ++i) {
        const double middle = 0.5 * (below + above);
        probe.Seek(middle);
        (probe.value < value ? below : above) = middle;
    }
    return below;
}

// Each tone's place against tone 0's, in fractions of a pass: tone i belongs i/n ahead.
double WorstSpacingError(const ToneEngine& engine) {
    const ToneVoices& voices = engine.Voices();
    const int n = engine.Settings().toneCount;
    const double zero = PositionOn(voices.freqEnvelopes[0], voices.freqEnvelopes[0].value);
    double worst = 0.0;
    for (int i = 1; i < n; ++i) {
        const double place = PositionOn(voices.freqEnvelopes[i], voices.freqEnvelopes[i].value);
        worst = std::max(worst, std::fabs(std::remainder(place - zero - double(i) / n, 1.0)));
    }
    return worst;
}

SegmentEnvelope FrequencyShape(int qfreq) {
    SegmentEnvelope shape;
    shape.Init(true);
    shape.curvatures[0] = static_cast<float>(qfreq) * 0.16666667f;
    return shape;
}

// {"Rate" in seconds, "Qfreq"}. The envelopes run on their single-precision multiplier, whose
// curvature differs from the nominal one the more the longer the pass; tone 0's place must be
// read back on that curve, or the others lose their i/n spacing at every "Tones" change and
// graph push.
class ToneSpacing : public testing::TestWithParam<std::tuple<double, int>> {};

TEST_P(ToneSpacing, HoldsOnCurvedFrequencyGraphs) {
    const auto [rate, qfreq] = GetParam();
    EngineValues values = DefaultValues();
    values[9] = rate;
    ToneEngine engine(false, false);
    StartEngine(engine, values);
    engine.ApplyEnvelopeDefinition(FrequencyShape(qfreq), EnvelopeKind::Frequency, 0);
    StereoBlock out(1);
    const int32_t position = static_cast<int32_t>(0.37 * engine.EnvelopeLength());
    engine.Render(nullptr, out.channels, 1, false, position);
    ASSERT_LT(WorstSpacingError(engine), 1e-4);

    engine.ApplyParamKey(3, 9);
    EXPECT_LT(WorstSpacingError(engine), 0.005) << "tones";
    engine.ApplyEnvelopeDefinition(FrequencyShape(qfreq + 12), EnvelopeKind::Frequency, 0);
    EXPECT_LT(WorstSpacingError(engine), 0.005) << "graph push";
}

INSTANTIATE_TEST_SUITE_P(ToneCycleTest, ToneSpacing,
                         testing::Values(std::tuple{60.0, 18}, std::tuple{180.0, 18},
                                         std::tuple{180.0, -90}, std::tuple{1.0, 60}));

} // namespace
