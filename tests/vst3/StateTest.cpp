#include "TestPlugin.h"

#include "public.sdk/source/common/memorystream.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

using Values = std::array<double, 4>;

// A stream holding the given doubles followed by extra bytes.
IPtr<MemoryStream> StreamOf(std::vector<double> values, int extraBytes = 0) {
    IPtr<MemoryStream> stream(new MemoryStream, false);
    stream->write(values.data(), static_cast<int32>(values.size() * sizeof(double)), nullptr);
    std::vector<char> extra(static_cast<size_t>(extraBytes), 1);
    stream->write(extra.data(), extraBytes, nullptr);
    stream->seek(0, IBStream::kIBSeekSet, nullptr);
    return stream;
}

tresult Restore(TestPlugin& plugin, IBStream* stream) {
    return static_cast<IComponent&>(plugin).setState(stream);
}

} // namespace

TEST(State, RoundTripAppliesEveryValueWhateverThePreset) {
    PluginPtr source = MakePlugin();
    source->setParamNormalized(TestPlugin::kGain, 0.123);
    source->setParamNormalized(TestPlugin::kFreq, 0.9);
    IPtr<MemoryStream> stream(new MemoryStream, false);
    ASSERT_EQ(static_cast<IComponent*>(source.get())->getState(stream), kResultOk);
    ASSERT_EQ(stream->getSize(), 32);

    PluginPtr target = MakePlugin();
    target->changed.clear();
    target->acceptStored = false;
    stream->seek(0, IBStream::kIBSeekSet, nullptr);
    EXPECT_EQ(Restore(*target, stream), kResultOk);
    EXPECT_EQ(target->Values(), source->Values());
    EXPECT_EQ(target->changed, (std::vector<int>{0, 1, 2, 3}));
}

TEST(State, ShortLongAndForeignStatesApplyWhatTheyHoldWithinTheRanges) {
    PluginPtr plugin = MakePlugin();
    EXPECT_EQ(Restore(*plugin, StreamOf({100.0}, 4)), kResultFalse);
    EXPECT_EQ(plugin->Values(), (Values{100.0, 7.0, 1.0, 50.0}));
    EXPECT_EQ(Restore(*plugin, StreamOf({})), kResultFalse);
    EXPECT_EQ(plugin->Values(), (Values{100.0, 7.0, 1.0, 50.0}));
    EXPECT_EQ(Restore(*plugin, StreamOf({200.0, 2.0, 0.0, 10.0, 99.0})), kResultOk);
    EXPECT_EQ(plugin->Values(), (Values{200.0, 2.0, 0.0, 10.0}));
    const double nan = std::numeric_limits<double>::quiet_NaN();
    EXPECT_EQ(Restore(*plugin, StreamOf({1e9, 3.7, nan, -5.0})), kResultOk);
    EXPECT_EQ(plugin->Values(), (Values{10000.0, 3.7, 0.0, 0.0}));
}

TEST(State, HostileStreamsAreReadSafelyAndBounded) {
    PluginPtr plugin = MakePlugin();
    EXPECT_EQ(Restore(*plugin, nullptr), kInvalidArgument);
    EXPECT_EQ(static_cast<IComponent*>(plugin.get())->getState(nullptr), kInvalidArgument);
    EndlessStream endless(kResultOk);
    EXPECT_EQ(Restore(*plugin, &endless), kResultOk);
    EXPECT_LE(endless.delivered, IEffectVST3::kMaxStateBytes + 4);
    EXPECT_EQ(plugin->ParamAt(TestPlugin::kGain)->Value(), 100.0);

    PluginPtr fresh = MakePlugin();
    EndlessStream failing(kResultFalse);
    EXPECT_EQ(Restore(*fresh, &failing), kResultFalse);
    EXPECT_EQ(fresh->ParamAt(TestPlugin::kGain)->Value(), 50.0);

    // One host reports errors on reads that did deliver; there the bytes count.
    FakeHost wavelab(u"WaveLab");
    PluginPtr trusting = MakePlugin(kSample32, &wavelab);
    EndlessStream erroring(kResultFalse);
    Restore(*trusting, &erroring);
    EXPECT_EQ(trusting->ParamAt(TestPlugin::kGain)->Value(), 100.0);
    EXPECT_LE(erroring.delivered, IEffectVST3::kMaxStateBytes + 4);
}

TEST(State, ControllerStateIsEmpty) {
    PluginPtr plugin = MakePlugin();
    IPtr<MemoryStream> stream(new MemoryStream, false);
    IEditController* controller = plugin.get();
    EXPECT_EQ(controller->getState(stream), kResultOk);
    EXPECT_EQ(stream->getSize(), 0);
    EXPECT_EQ(controller->setState(StreamOf({200.0, 2.0, 0.0, 10.0})), kResultOk);
    EXPECT_EQ(plugin->ParamAt(TestPlugin::kFreq)->Value(), 440.0);
}
