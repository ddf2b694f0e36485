#include "HostFakes.h"
#include "TestPlugin.h"

#include "public.sdk/source/common/memorystream.h"

#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <limits>

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace {

// A stream holding the given doubles followed by extra bytes.
MemoryStream* StreamOf(std::vector<double> values, int extraBytes = 0) {
    auto* stream = new MemoryStream;
    stream->write(values.data(), static_cast<int32>(values.size() * sizeof(double)), nullptr);
    std::vector<char> extra(static_cast<size_t>(extraBytes), 1);
    stream->write(extra.data(), extraBytes, nullptr);
    stream->seek(0, IBStream::kIBSeekSet, nullptr);
    return stream;
}

std::array<double, 4> Values(const TestPlugin& plugin) {
    std::array<double, 4> values{};
    for (int i = 0; i < 4; ++i) values[static_cast<size_t>(i)] = plugin.ParamAt(i)->Value();
    return values;
}

tresult Restore(TestPlugin& plugin, IBStream* stream) {
    return static_cast<IComponent&>(plugin).setState(stream);
}

} // namespace

TEST(State, RoundTripCarriesEveryValueAsEightBytes) {
    PluginPtr source = MakePlugin();
    source->setParamNormalized(TestPlugin::kGain, 0.123);
    source->setParamNormalized(TestPlugin::kFreq, 0.9);
    IPtr<MemoryStream> stream(new MemoryStream, false);
    ASSERT_EQ(static_cast<IComponent*>(source.get())->getState(stream), kResultOk);
    ASSERT_EQ(stream->getSize(), 32);
    double first = 0.0;
    std::memcpy(&first, stream->getData(), sizeof first);
    EXPECT_EQ(first, source->ParamAt(0)->Value());

    PluginPtr target = MakePlugin();
    target->changed.clear();
    target->acceptStored = false;
    stream->seek(0, IBStream::kIBSeekSet, nullptr);
    EXPECT_EQ(Restore(*target, stream), kResultOk);
    EXPECT_EQ(Values(*target), Values(*source));
    EXPECT_EQ(target->changed, (std::vector<int>{0, 1, 2, 3}));
}

TEST(State, ShortAndLongStatesApplyWhatTheyHold) {
    PluginPtr plugin = MakePlugin();
    IPtr<MemoryStream> shortState(StreamOf({100.0}, 4), false);
    EXPECT_EQ(Restore(*plugin, shortState), kResultFalse);
    EXPECT_EQ(Values(*plugin), (std::array<double, 4>{100.0, 7.0, 1.0, 50.0}));

    IPtr<MemoryStream> empty(StreamOf({}), false);
    EXPECT_EQ(Restore(*plugin, empty), kResultFalse);
    EXPECT_EQ(Values(*plugin), (std::array<double, 4>{100.0, 7.0, 1.0, 50.0}));

    IPtr<MemoryStream> longState(StreamOf({200.0, 2.0, 0.0, 10.0, 99.0}), false);
    EXPECT_EQ(Restore(*plugin, longState), kResultOk);
    EXPECT_EQ(Values(*plugin), (std::array<double, 4>{200.0, 2.0, 0.0, 10.0}));
}

TEST(State, ForeignValuesAreClampedNotSnapped) {
    PluginPtr plugin = MakePlugin();
    const double nan = std::numeric_limits<double>::quiet_NaN();
    IPtr<MemoryStream> garbage(StreamOf({1e9, 3.7, nan, -5.0}), false);
    EXPECT_EQ(Restore(*plugin, garbage), kResultOk);
    EXPECT_EQ(Values(*plugin), (std::array<double, 4>{10000.0, 3.7, 0.0, 0.0}));
}

TEST(State, HostileStreamsAreReadSafely) {
    PluginPtr plugin = MakePlugin();
    EXPECT_EQ(Restore(*plugin, nullptr), kInvalidArgument);
    EXPECT_EQ(static_cast<IComponent*>(plugin.get())->getState(nullptr), kInvalidArgument);

    FakeStream endless(kResultOk);
    EXPECT_EQ(Restore(*plugin, &endless), kResultOk);
    EXPECT_LE(endless.delivered, IEffectVST3::kMaxStateBytes + 4);
    EXPECT_EQ(plugin->ParamAt(TestPlugin::kGain)->Value(), 100.0);

    PluginPtr fresh = MakePlugin();
    FakeStream failing(kResultFalse);
    EXPECT_EQ(Restore(*fresh, &failing), kResultFalse);
    EXPECT_EQ(fresh->ParamAt(TestPlugin::kGain)->Value(), 50.0);

    // One host reports errors on reads that did deliver; its bytes are kept.
    FakeHost wavelab(u"WaveLab");
    PluginPtr trusting = MakePlugin(kSample32, 64, &wavelab);
    FakeStream erroring(kResultFalse);
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
    IPtr<MemoryStream> full(StreamOf({200.0, 2.0, 0.0, 10.0}), false);
    EXPECT_EQ(controller->setState(full), kResultOk);
    EXPECT_EQ(plugin->ParamAt(TestPlugin::kFreq)->Value(), 440.0);
}
