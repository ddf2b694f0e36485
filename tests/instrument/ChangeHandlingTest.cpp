#include "Instance.h"
#include "support/CommaLocale.h"

#include "gui/ITextControl.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

// An instance that has applied its parameters and rendered its first block at 48 kHz.
Instance RunningInstance() {
    auto p = MakeInstance();
    p->SetSampleRate(48000);
    ApplyAllParameters(*p);
    Render(*p, 64);
    return p;
}

} // namespace

TEST(RenderGate, OpensOnceEveryParameterWasApplied) {
    auto p = MakeInstance();
    EXPECT_FALSE(p->RenderEnabled());
    for (int i = 0; i < kNumParams - 1; ++i) p->OnParamChanged(i);
    p->OnParamChanged(0);
    EXPECT_FALSE(p->RenderEnabled());
    p->OnParamChanged(kNumParams - 1);
    EXPECT_TRUE(p->RenderEnabled());

    // Each instance counts for itself.
    auto other = MakeInstance();
    EXPECT_FALSE(other->RenderEnabled());
    EXPECT_TRUE(p->RenderEnabled());
}

TEST(ChangeHandling, NoStatusTextBeforeTheFirstBlock) {
    auto p = MakeInstance();
    ApplyAllParameters(*p);
    SetParam(*p, kBinaural, 7.83);
    EXPECT_EQ(p->StatusText(), "");
    EXPECT_EQ(p->BandText(), "THETA");
    EXPECT_EQ(p->Engine().SampleRate(), 0.0);
}

TEST(ChangeHandling, FirstBlockAppliesTheSampleRateAndRate) {
    auto p = RunningInstance();
    EXPECT_EQ(p->Engine().SampleRate(), 48000.0);
    EXPECT_FLOAT_EQ(p->Engine().EnvelopeLength(), 60 * 48000 * 2);
    EXPECT_EQ(p->StatusText(), "Rate: 60.0s");

    p->SetSampleRate(96000);
    p->OnReset();
    EXPECT_EQ(p->Engine().SampleRate(), 96000.0);
    EXPECT_FLOAT_EQ(p->Engine().EnvelopeLength(), 60 * 96000 * 2);

    // A host that reports no usable rate keeps the engine at the last good one.
    p->SetSampleRate(0);
    p->OnReset();
    EXPECT_EQ(p->Engine().SampleRate(), 96000.0);
}

TEST(ChangeHandling, ActsOnlyWhenTheRoundedKeyChanges) {
    auto p = RunningInstance();
    SetParam(*p, kBinaural, 10.001);
    EXPECT_EQ(p->StatusText(), "Binaural: 10.00Hz");
    SetParam(*p, kLowFreq, 20);
    SetParam(*p, kBinaural, 10.004);
    EXPECT_EQ(p->StatusText(), "Low Freq: 20.00Hz");
    SetParam(*p, kBinaural, 10.006);
    EXPECT_EQ(p->StatusText(), "Binaural: 10.01Hz");
    EXPECT_FLOAT_EQ(p->Engine().Settings().binauralHz, 10.01f);
}

TEST(ChangeHandling, StatusTextsAndBandNames) {
    auto p = RunningInstance();
    const struct {
        int index;
        double value;
        const char* text;
    } cases[] = {
        {kBinaural, 7.83, "Binaural: 7.83Hz"},
        {kHighFreq, 1200.05, "High Freq: 1200.10Hz"},
        {kTones, 9, "Tones: 9"},
        {kSpread, 40, "Spread Frequencies: 40%"},
        {kLowLevel, 80, "Low Frequencies: 80%"},
        {kMiddleLevel, 20, "Middle Frequencies: 20%"},
        {kHighLevel, 0, "High Frequencies: 0%"},
        {kWave, 6, "Set Wave: Gold. Square"},
        {kRate, 12.34, "Rate: 12.3s"},
        {kBinauralPan, 1, "Binaural off"},
        {kBinauralPan, 0, "Higher freq. to left"},
        {kPlayAnyway, 1, "Play anyway was activated"},
        {kPlayAnyway, 0, "Play anyway was deactivated"},
        {kVolume, 100, "Volume Amount: 100%"},
        {kFreqGraph, 1, "Freq Graph: Real Freq"},
        {kQvol2, 30, ""},
    };
    for (const auto& c : cases) {
        SetParam(*p, c.index, c.value);
        EXPECT_EQ(p->StatusText(), c.text) << c.index;
    }
    EXPECT_NE(p->StatusDeadline(), 0u);

    for (const auto& [hz, band] : {std::pair{13.99, "ALPHA"},
                                   {14.0, "BETA"},
                                   {0.3, "EPSILON"},
                                   {0.5, "DELTA"},
                                   {150.0, "LAMBDA"},
                                   {99.99, "GAMMA"}}) {
        SetParam(*p, kBinaural, hz);
        EXPECT_EQ(p->BandText(), band) << hz;
    }
}

TEST(ChangeHandling, VolumeAndToneCountSetTheTargetGain) {
    auto p = RunningInstance();
    SetParam(*p, kTones, 4);
    SetParam(*p, kVolume, 100);
    EXPECT_FLOAT_EQ(static_cast<float>(p->Engine().TargetGain()), 0.40005f);
}

TEST(ChangeHandling, EnvelopeParametersReachTheEngineWithoutAnEditor) {
    auto p = RunningInstance();
    // Values applied before the first block are pushed by that block.
    EXPECT_FLOAT_EQ(p->Engine().Voices().freqEnvelopes[5].curvatures[0], 3.0f);
    SetParam(*p, kQvol2, 60);
    for (int t = 0; t < 16; ++t)
        EXPECT_FLOAT_EQ(p->Engine().Voices().volEnvelopes[t].curvatures[1], 10.0f);
    SetParam(*p, kXvol1, 10);
    EXPECT_FLOAT_EQ(p->Engine().Voices().volEnvelopes[3].innerPoints[0], 0.1f);
    SetParam(*p, kQfreq, -90);
    EXPECT_FLOAT_EQ(p->Engine().Voices().freqEnvelopes[0].curvatures[0], -15.0f);

    // An open editor changes nothing of that: its drawing never carries the sound.
    p->OnEditorOpen();
    SetParam(*p, kQvol3, 0);
    EXPECT_FLOAT_EQ(p->Engine().Voices().volEnvelopes[0].curvatures[2], 0.0f);
    EXPECT_EQ(p->VolumeGraph().ChangeCode(), EnvelopeGraphModel::kNone);
}

TEST(StatusLine, EmptiesItselfAfterItsDeadline) {
    auto p = MakeInstance();
    ITextControl control(*p, {0, 0, 100, 20}, ITextStyle());
    StatusLine line;
    line.Show("unseen", 0);
    EXPECT_EQ(line.Text(), "") << "no control yet";
    line.SetControl(&control);
    line.Show("hello", 1000);
    EXPECT_STREQ(control.Text(), "hello");
    EXPECT_EQ(line.Deadline(), 10000u);
    line.Expire(9999);
    EXPECT_EQ(line.Text(), "hello");
    line.Expire(10001);
    EXPECT_EQ(line.Text(), "");
    EXPECT_EQ(line.Deadline(), 0u);
    line.SetText("kept");
    line.Expire(50000);
    EXPECT_EQ(line.Text(), "kept");
}

TEST(ChangeHandling, StatusNumbersUseAPointWhateverTheLocale) {
    auto p = RunningInstance();
    CommaLocale comma;
    if (!comma.Active()) GTEST_SKIP() << "no locale with a decimal comma could be made";
    SetParam(*p, kBinaural, 7.83);
    EXPECT_EQ(p->StatusText(), "Binaural: 7.83Hz");
    SetParam(*p, kHighFreq, 1234.5);
    EXPECT_EQ(p->StatusText(), "High Freq: 1234.50Hz");
    SetParam(*p, kRate, 12.5);
    EXPECT_EQ(p->StatusText(), "Rate: 12.5s");
}
