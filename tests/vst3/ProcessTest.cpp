#include "TestPlugin.h"

#include <gtest/gtest.h>

#include <limits>

TEST(ProcessParameters, OnlyTheLastPointOfAQueueCountsAndOddValuesAreHarmless) {
    PluginPtr plugin = MakePlugin();
    plugin->changed.clear();
    ProcessChange(*plugin, TestPlugin::kGain, {0.1, 0.9, 0.3});
    EXPECT_DOUBLE_EQ(plugin->ParamAt(TestPlugin::kGain)->Value(), 30.0);
    ProcessChange(*plugin, TestPlugin::kFreq, {0.5, std::numeric_limits<double>::quiet_NaN()});
    ProcessChange(*plugin, TestPlugin::kCount, {});
    ProcessChange(*plugin, 99, {1.0});
    EXPECT_EQ(plugin->Values(), (std::array<double, 4>{440.0, 7.0, 1.0, 30.0}));
    EXPECT_EQ(plugin->changed, std::vector<int>{TestPlugin::kGain});
}

TEST(ProcessParameters, ProgramChangesLoadPresetsAndBypassSilences) {
    PluginPtr plugin = MakePlugin();
    ProcessChange(*plugin, IEffectVST3::kProgramParamId, {0.0});
    EXPECT_EQ(plugin->Values(), (std::array<double, 4>{1000.0, 3.0, 2.0, 25.0}));
    ProcessChange(*plugin, IEffectVST3::kProgramParamId, {7.0});
    EXPECT_EQ(plugin->CurrentPreset(), 2);
    EXPECT_STREQ(plugin->PresetName(2), "user preset 1");
    plugin->acceptStored = false;
    ProcessChange(*plugin, IEffectVST3::kProgramParamId, {0.5});
    EXPECT_EQ(plugin->CurrentPreset(), 1);
    EXPECT_EQ(plugin->Values(), (std::array<double, 4>{1000.0, 3.0, 2.0, 25.0}));

    ProcessChange(*plugin, IEffectVST3::kBypassParamId, {0.0, 0.9});
    plugin->pieces.clear();
    Block<float> block(8);
    plugin->process(block.data);
    EXPECT_EQ(block.left, std::vector<float>(8, 0.0f));
    EXPECT_TRUE(plugin->pieces.empty());
}

TEST(ProcessParameters, AProgramChangeLoadsTheSlotTheSdkConversionShows) {
    PluginPtr plugin = MakePlugin();
    const ParamID program = IEffectVST3::kProgramParamId;
    for (int i = 0; i <= 1000; ++i) {
        const double x = i / 1000.0;
        const auto shown = static_cast<int>(plugin->normalizedParamToPlain(program, x));
        ProcessChange(*plugin, program, {x});
        EXPECT_EQ(plugin->CurrentPreset(), shown) << x;
        plugin->setParamNormalized(program, x);
        EXPECT_EQ(plugin->CurrentPreset(), shown) << x;
    }
    for (int slot = 0; slot < 3; ++slot) {
        ProcessChange(*plugin, program, {slot / 2.0});
        EXPECT_EQ(plugin->CurrentPreset(), slot);
        EXPECT_EQ(plugin->getParamNormalized(program), slot / 2.0);
    }
}

TEST(ProcessAudio, BothSampleSizesRenderLongBlocksInPreparedPieces) {
    PluginPtr single = MakePlugin(kSample32);
    Block<float> block32(1000);
    EXPECT_EQ(single->process(block32.data), kResultOk);
    EXPECT_TRUE(block32.IsRamp());
    PluginPtr twice = MakePlugin(kSample64);
    Block<double> block64(1000);
    EXPECT_EQ(twice->process(block64.data), kResultOk);
    EXPECT_TRUE(block64.IsRamp());
    for (int piece : twice->pieces) EXPECT_LE(piece, 64);
    EXPECT_EQ(twice->position, 1000);
}

TEST(ProcessAudio, MalformedBlocksNeverTouchStaleOrMissingBuffers) {
    PluginPtr plugin = MakePlugin();
    Block<float> first(16);
    plugin->process(first.data);
    const std::vector<float> kept = first.left;

    ProcessData none{};
    none.symbolicSampleSize = kSample32;
    none.numSamples = 16;
    none.numOutputs = 1;
    EXPECT_EQ(plugin->process(none), kResultOk);
    Block<float> missing(16);
    missing.channels[1] = nullptr;
    EXPECT_EQ(plugin->process(missing.data), kResultOk);
    EXPECT_EQ(missing.left, std::vector<float>(16, 7.0f));
    EXPECT_EQ(first.left, kept);

    Block<float> negative(4);
    negative.data.numSamples = -4;
    plugin->pieces.clear();
    EXPECT_EQ(plugin->process(negative.data), kResultOk);
    EXPECT_TRUE(plugin->pieces.empty());
    negative.data.numSamples = 0;
    EXPECT_EQ(plugin->process(negative.data), kResultOk);
    EXPECT_EQ(plugin->pieces, std::vector<int>{0}) << "a block of no frames still reaches the hook";
    EXPECT_EQ(negative.left, std::vector<float>(4, 7.0f));
}

TEST(ProcessAudio, SilenceBeforeSetupAndNothingForAnInactiveBus) {
    PluginPtr unprepared = MakeInitializedPlugin();
    Block<double> block64(32);
    unprepared->process(block64.data);
    EXPECT_EQ(block64.left, std::vector<double>(32, 0.0));

    PluginPtr inactive = MakePlugin();
    inactive->activateBus(kAudio, kOutput, 0, false);
    Block<float> block32(32);
    inactive->process(block32.data);
    EXPECT_EQ(block32.left, std::vector<float>(32, 7.0f));
}

TEST(ProcessEvents, NotesBecomeMidiMessagesAndOtherEventsAreSkipped) {
    PluginPtr plugin = MakePlugin();
    FakeEvents events;
    events.events.resize(2);
    events.events[0].type = Event::kDataEvent;
    events.events[1].type = Event::kNoteOnEvent;
    events.events[1].sampleOffset = 5;
    events.events[1].noteOn = {2, 60, 0.0f, 0.5f, 0, -1};
    Block<float> block(16);
    block.data.inputEvents = &events;
    plugin->process(block.data);
    ASSERT_EQ(plugin->midi.size(), 1u);
    const IMidiMessage& on = plugin->midi[0];
    EXPECT_EQ((std::array<int, 4>{on.status, on.data1, on.data2, on.offset}),
              (std::array<int, 4>{0x92, 60, 63, 5}));
}

TEST(ProcessContext, TransportQueriesReadTheLastContext) {
    PluginPtr plugin = MakePlugin();
    ProcessContext context{};
    context.state = ProcessContext::kPlaying | ProcessContext::kRecording;
    context.projectTimeSamples = (int64{1} << 32) + 42;
    Block<float> block(4);
    block.data.processContext = &context;
    plugin->process(block.data);
    EXPECT_EQ(plugin->GetTransportState(), kTransportPlaying);
    EXPECT_EQ(plugin->HostSamplePosition(), 42);
    context.state = ProcessContext::kRecording;
    plugin->process(block.data);
    EXPECT_EQ(plugin->GetTransportState(), kTransportRecording);
}
