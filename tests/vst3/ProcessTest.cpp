#include "HostFakes.h"
#include "TestPlugin.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// One stereo output block in the host's sample format, prefilled with a marker value.
template <typename Sample> struct Block {
    explicit Block(int frames, Sample fill = 7)
        : left(static_cast<size_t>(frames), fill), right(left) {
        channels[0] = left.data();
        channels[1] = right.data();
        bus.numChannels = 2;
        if constexpr (sizeof(Sample) == 4)
            bus.channelBuffers32 = channels;
        else
            bus.channelBuffers64 = channels;
        data.symbolicSampleSize = sizeof(Sample) == 4 ? kSample32 : kSample64;
        data.numSamples = frames;
        data.numOutputs = 1;
        data.outputs = &bus;
    }
    std::vector<Sample> left, right;
    Sample* channels[2];
    AudioBusBuffers bus{};
    ProcessData data{};
};

// Left carries the running sample count from start on, right its negation.
template <typename Sample> void ExpectRamp(const Block<Sample>& block, long start) {
    for (size_t i = 0; i < block.left.size(); ++i) {
        ASSERT_EQ(block.left[i], static_cast<Sample>(start + static_cast<long>(i))) << i;
        ASSERT_EQ(block.right[i], -static_cast<Sample>(start + static_cast<long>(i))) << i;
    }
}

void ProcessChanges(TestPlugin& plugin, FakeChanges& changes) {
    Block<float> block(16);
    block.data.inputParameterChanges = &changes;
    plugin.process(block.data);
}

} // namespace

TEST(ProcessParameters, TheLastPointOfEachQueueIsApplied) {
    PluginPtr plugin = MakePlugin();
    plugin->changed.clear();
    FakeChanges changes;
    changes.Add(TestPlugin::kGain, {0.1, 0.9, 0.3});
    changes.Add(TestPlugin::kCount, {});
    changes.Add(99, {1.0});
    changes.Add(TestPlugin::kFreq, {0.5, kNaN});
    ProcessChanges(*plugin, changes);
    EXPECT_DOUBLE_EQ(plugin->ParamAt(TestPlugin::kGain)->Value(), 30.0);
    EXPECT_EQ(plugin->ParamAt(TestPlugin::kFreq)->Value(), 440.0);
    EXPECT_EQ(plugin->changed, std::vector<int>{TestPlugin::kGain});
}

TEST(ProcessParameters, ProgramChangesLoadPresetsAndBypassSilences) {
    PluginPtr plugin = MakePlugin();
    FakeChanges first;
    first.Add(IEffectVST3::kProgramParamId, {0.0});
    ProcessChanges(*plugin, first);
    EXPECT_EQ(plugin->CurrentPreset(), 0);
    EXPECT_EQ(plugin->ParamAt(TestPlugin::kFreq)->Value(), 1000.0);
    EXPECT_EQ(plugin->ParamAt(TestPlugin::kMode)->Value(), 2.0);

    FakeChanges beyond;
    beyond.Add(IEffectVST3::kProgramParamId, {7.0});
    ProcessChanges(*plugin, beyond);
    EXPECT_EQ(plugin->CurrentPreset(), 2);
    EXPECT_STREQ(plugin->PresetName(2), "user preset 1");
    EXPECT_EQ(plugin->ParamAt(TestPlugin::kFreq)->Value(), 1000.0);

    plugin->acceptStored = false;
    FakeChanges second;
    second.Add(IEffectVST3::kProgramParamId, {0.5});
    ProcessChanges(*plugin, second);
    EXPECT_EQ(plugin->CurrentPreset(), 1);
    EXPECT_EQ(plugin->ParamAt(TestPlugin::kFreq)->Value(), 1000.0);

    plugin->pieces.clear();
    FakeChanges bypass;
    bypass.Add(IEffectVST3::kBypassParamId, {0.0, 0.9});
    Block<float> block(8);
    block.data.inputParameterChanges = &bypass;
    plugin->process(block.data);
    EXPECT_TRUE(plugin->Bypassed());
    EXPECT_EQ(block.left, std::vector<float>(8, 0.0f));
    EXPECT_TRUE(plugin->pieces.empty());
}

TEST(ProcessAudio, BothSampleSizesReachTheHostBuffers) {
    PluginPtr single = MakePlugin(kSample32);
    Block<float> block32(48);
    EXPECT_EQ(single->process(block32.data), kResultOk);
    ExpectRamp(block32, 0);

    PluginPtr twice = MakePlugin(kSample64);
    Block<double> block64(48);
    EXPECT_EQ(twice->process(block64.data), kResultOk);
    ExpectRamp(block64, 0);
}

TEST(ProcessAudio, BlocksLongerThanPreparedRenderInPiecesAtTheRightOffsets) {
    for (int32 size : {kSample32, kSample64}) {
        PluginPtr plugin = MakePlugin(size, 64);
        if (size == kSample32) {
            Block<float> block(1000);
            plugin->process(block.data);
            ExpectRamp(block, 0);
        } else {
            Block<double> block(1000);
            plugin->process(block.data);
            ExpectRamp(block, 0);
        }
        for (int piece : plugin->pieces) EXPECT_LE(piece, 64);
        EXPECT_EQ(plugin->position, 1000);
    }
}

TEST(ProcessAudio, MalformedBlocksNeverTouchStaleOrMissingBuffers) {
    PluginPtr plugin = MakePlugin();
    Block<float> first(16);
    plugin->process(first.data);

    // The same channels, but the host brings no outputs, a null bus list or null buffers.
    const std::vector<float> kept = first.left;
    ProcessData none{};
    none.symbolicSampleSize = kSample32;
    none.numSamples = 16;
    EXPECT_EQ(plugin->process(none), kResultOk);
    none.numOutputs = 1;
    EXPECT_EQ(plugin->process(none), kResultOk);
    Block<float> nullBuffers(16);
    nullBuffers.bus.channelBuffers32 = nullptr;
    EXPECT_EQ(plugin->process(nullBuffers.data), kResultOk);
    nullBuffers.bus.channelBuffers32 = nullBuffers.channels;
    nullBuffers.channels[1] = nullptr;
    EXPECT_EQ(plugin->process(nullBuffers.data), kResultOk);
    EXPECT_EQ(first.left, kept);

    Block<float> empty(0);
    EXPECT_EQ(plugin->process(empty.data), kResultOk);
    Block<float> negative(4);
    negative.data.numSamples = -4;
    EXPECT_EQ(plugin->process(negative.data), kResultOk);
    EXPECT_EQ(negative.left, std::vector<float>(4, 7.0f));
    for (int piece : plugin->pieces) EXPECT_GT(piece, 0);
}

TEST(ProcessAudio, SilenceBeforeSetupAndForAnInactiveBusNothing) {
    PluginPtr plugin = MakeInitializedPlugin();
    Block<double> unprepared(32);
    plugin->process(unprepared.data);
    EXPECT_EQ(unprepared.left, std::vector<double>(32, 0.0));

    PluginPtr inactive = MakePlugin();
    inactive->activateBus(kAudio, kOutput, 0, false);
    Block<float> block(32);
    inactive->process(block.data);
    EXPECT_EQ(block.left, std::vector<float>(32, 7.0f));
}

TEST(ProcessEvents, NotesBecomeMidiMessagesAndOtherEventsAreSkipped) {
    PluginPtr plugin = MakePlugin();
    FakeEvents events;
    Event on{};
    on.type = Event::kNoteOnEvent;
    on.sampleOffset = 5;
    on.noteOn = {2, 60, 0.0f, 0.5f, 0, -1};
    Event off{};
    off.type = Event::kNoteOffEvent;
    off.sampleOffset = 9;
    off.noteOff = {2, 60, 1.0f, -1, 0.0f};
    Event other{};
    other.type = Event::kDataEvent;
    events.events = {on, other, off};
    Block<float> block(16);
    block.data.inputEvents = &events;
    plugin->process(block.data);
    ASSERT_EQ(plugin->midi.size(), 2u);
    EXPECT_EQ(plugin->midi[0].status, 0x92);
    EXPECT_EQ(plugin->midi[0].data1, 60);
    EXPECT_EQ(plugin->midi[0].data2, 63);
    EXPECT_EQ(plugin->midi[0].offset, 5);
    EXPECT_EQ(plugin->midi[1].status, 0x82);
    EXPECT_EQ(plugin->midi[1].data2, 0);
}

TEST(ProcessContext, TransportQueriesReadTheLastContext) {
    PluginPtr plugin = MakePlugin();
    ProcessContext context{};
    context.state =
        ProcessContext::kPlaying | ProcessContext::kRecording | ProcessContext::kCycleActive;
    context.tempo = 96.0;
    context.timeSigNumerator = 7;
    context.timeSigDenominator = 8;
    context.projectTimeSamples = (int64{1} << 32) + 42;
    context.projectTimeMusic = 12.5;
    Block<float> block(4);
    block.data.processContext = &context;
    plugin->process(block.data);
    EXPECT_EQ(plugin->GetTransportState(), kTransportPlaying);
    EXPECT_EQ(plugin->HostTempo(), 96.0);
    EXPECT_EQ(plugin->HostSamplePosition(), 42);
    int numerator = 0, denominator = 0;
    plugin->HostTimeSignature(&numerator, &denominator);
    EXPECT_EQ(numerator * 10 + denominator, 78);
    ITransportInfo info;
    plugin->GetTransportInfo(info);
    EXPECT_EQ(info.samplePosition, static_cast<double>(context.projectTimeSamples));
    EXPECT_EQ(info.quarterNotePosition, 12.5);
    EXPECT_TRUE(info.running && info.cycleActive);

    context.state = ProcessContext::kRecording;
    plugin->process(block.data);
    EXPECT_EQ(plugin->GetTransportState(), kTransportRecording);
    EXPECT_FALSE(plugin->IsOfflineRender());
}
