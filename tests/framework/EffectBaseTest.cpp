#include "TestEffect.h"

#include <gtest/gtest.h>

#include <array>

TEST(EffectBase, ParsesChannelConfigurations) {
    TestEffect effect(TestConfig(1, 0, "0-2"));
    EXPECT_EQ(effect.InputChannelCount(), 0);
    EXPECT_EQ(effect.OutputChannelCount(), 2);
    EXPECT_TRUE(effect.AcceptsChannels(0, 2));
    EXPECT_FALSE(effect.AcceptsChannels(2, 2));
    EXPECT_TRUE(effect.AcceptsChannels(-1, 2));

    TestEffect two(TestConfig(1, 0, "1-1 2-2"));
    EXPECT_EQ(two.ChannelConfigurations().size(), 2u);
    EXPECT_EQ(two.InputChannelCount(), 2);
    EXPECT_EQ(two.OutputChannelCount(), 2);
}

TEST(EffectBase, RecognisesHostsByName) {
    EXPECT_EQ(IEffectBase::LookUpHostId("Cubase 8"), kHostCubase);
    EXPECT_EQ(IEffectBase::LookUpHostId("NUENDO"), kHostNuendo);
    EXPECT_EQ(IEffectBase::LookUpHostId("Live 9"), kHostLive);
    EXPECT_EQ(IEffectBase::LookUpHostId(""), kHostNone);
    EXPECT_EQ(IEffectBase::LookUpHostId(nullptr), kHostNone);
    EXPECT_EQ(IEffectBase::LookUpHostId("reaper cubase"), kHostCubase);
    TestEffect effect(TestConfig(1, 0));
    EXPECT_EQ(effect.GetHostId(), kHostUnknown);
    effect.RecordHost("Ardour 8", 0);
    EXPECT_EQ(effect.GetHostId(), kHostArdour);
}

TEST(EffectBase, IdentityTextsAndBusLabels) {
    TestEffect effect(TestConfig(1, 0));
    EXPECT_EQ(effect.GetEffectVersionText(), "v1.02");
    effect.SetInputBusName(2, "ignored");
    EXPECT_TRUE(effect.InputBusLabels().empty());
    effect.SetInputBusName(0, "Main Input");
    effect.SetInputBusName(0, "Renamed");
    effect.SetOutputBusName(5, "Output 1");
    EXPECT_EQ(effect.InputBusLabels(), std::vector<std::string>{"Renamed"});
    EXPECT_EQ(effect.OutputBusLabels(), std::vector<std::string>{"Output 1"});
    EXPECT_TRUE(effect.SendMidiMessages({}));
    EXPECT_FALSE(effect.SendMidiMessages({IMidiMessage{}}));
}

TEST(EffectBase, EditorWritesReachTheHostAndTheChangeHook) {
    TestEffect effect(TestConfig(2, 0));
    effect.ParamAt(1)->DefineInt("I", 0, 0, 10, "");
    effect.SetParamFromEditor(1, 0.5);
    EXPECT_EQ(effect.ParamAt(1)->Value(), 5);
    EXPECT_EQ(effect.edits, (std::vector<TestEffect::Edit>{{'p', 1}}));
    EXPECT_EQ(effect.changed, std::vector<int>{1});
    effect.SetParamFromEditor(7, 0.5);
    EXPECT_EQ(effect.edits.size(), 1u);
    EXPECT_EQ(effect.ParamAt(2), nullptr);
    EXPECT_EQ(effect.ParamAt(-1), nullptr);
}

class CountingEditor : public IEditorContext {
public:
    void ShowParamInControls(int index, double value, bool normalized) override {
        shown.push_back({index, value, normalized});
    }
    void PrepareDraw() override { ++prepared; }
    int FrameRate() const override { return 24; }
    void StartGestureCountdown(int ticks) override { countdown = ticks; }
    void StopGestureCountdown() override { countdown = 0; }

    struct Shown {
        int index;
        double value;
        bool normalized;
    };
    std::vector<Shown> shown;
    int prepared = 0;
    int countdown = -1;
};

TEST(EffectBase, DeferredEndOfGestureWaitsForTheEditorCountdown) {
    TestEffect bare(TestConfig(1, 0));
    bare.DeferEndParamEdit(0);
    EXPECT_TRUE(bare.edits.empty()) << "no wheel step began a gesture";
    bare.BeginWheelEdit(0);
    bare.DeferEndParamEdit(0);
    EXPECT_EQ(bare.edits, (std::vector<TestEffect::Edit>{{'b', 0}, {'e', 0}}));

    TestEffect effect(TestConfig(2, 0));
    effect.ParamAt(0)->DefineInt("I", 4, 0, 8, "");
    auto owned = std::make_unique<CountingEditor>();
    CountingEditor* editor = owned.get();
    effect.AttachEditor(std::move(owned));
    ASSERT_EQ(editor->shown.size(), 2u);
    EXPECT_DOUBLE_EQ(editor->shown[0].value, 0.5);
    EXPECT_TRUE(editor->shown[0].normalized);
    EXPECT_EQ(editor->prepared, 1);

    effect.FlushDeferredEndEdit();
    EXPECT_TRUE(effect.edits.empty());
    effect.BeginWheelEdit(1);
    effect.BeginWheelEdit(1);
    effect.DeferEndParamEdit(0);
    EXPECT_EQ(editor->countdown, 0);
    effect.DeferEndParamEdit(1);
    EXPECT_EQ(editor->countdown, 12);
    EXPECT_EQ(effect.edits, (std::vector<TestEffect::Edit>{{'b', 1}}));
    effect.FlushDeferredEndEdit();
    EXPECT_EQ(editor->countdown, 0);
    EXPECT_EQ(effect.edits, (std::vector<TestEffect::Edit>{{'b', 1}, {'e', 1}}));
    effect.FlushDeferredEndEdit();
    EXPECT_EQ(effect.edits.size(), 2u);
}

class RenderProbe : public TestEffect {
public:
    using TestEffect::TestEffect;
    void RenderBlock(double**, double** outputs, int frames) override {
        for (int c = 0; c < 2; ++c)
            for (int i = 0; i < frames; ++i) outputs[c][i] = 0.25 * (c + 1);
        lastFrames = frames;
    }
    int lastFrames = -1;
};

TEST(EffectBase, RendersOnlyWhenEnabledAndConvertsSinglePrecision) {
    RenderProbe effect(TestConfig(1, 0));
    effect.SetOutputConnections(0, 2, true);
    effect.SetBlockSize(4);
    std::array<float, 4> left{9, 9, 9, 9}, right{9, 9, 9, 9};
    float* single[] = {left.data(), right.data()};
    effect.BindOutputBuffers(0, 2, single, 4);
    effect.RenderBuffers32(4);
    EXPECT_EQ(effect.lastFrames, -1);
    EXPECT_EQ(left[0], 0.0f);

    effect.SetRenderEnabled(true);
    effect.RenderBuffers32(100);
    EXPECT_EQ(effect.lastFrames, 4);
    EXPECT_EQ(left[3], 0.25f);
    EXPECT_EQ(right[3], 0.5f);

    std::array<double, 4> l64{}, r64{};
    double* wide[] = {l64.data(), r64.data()};
    effect.BindOutputBuffers(0, 2, wide, 4);
    effect.RenderBuffers64(4);
    EXPECT_EQ(r64[0], 0.5);

    effect.BypassBuffers64(4);
    EXPECT_EQ(l64[0], 0.0);
}
