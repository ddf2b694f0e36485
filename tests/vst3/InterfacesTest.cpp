#include "TestPlugin.h"
#include "vst3/PluginFactory.h"

#include "pluginterfaces/gui/iplugview.h"
#include "pluginterfaces/vst/ivstunits.h"
#include "pluginterfaces/vst/vstspeaker.h"

#include <gtest/gtest.h>

namespace {

// What an interface answers for FUnknown: the object's identity. The reference taken is dropped.
template <typename Interface> FUnknown* Reach(FUnknown* from) {
    void* obj = nullptr;
    if (from->queryInterface(Interface::iid, &obj) != kResultOk) return nullptr;
    auto* found = static_cast<Interface*>(obj);
    void* identity = nullptr;
    found->queryInterface(FUnknown::iid, &identity);
    found->release();
    static_cast<FUnknown*>(identity)->release();
    return static_cast<FUnknown*>(identity);
}

template <typename From> void ExpectEveryInterfaceFrom(TestPlugin* plugin) {
    FUnknown* from = static_cast<From*>(plugin);
    FUnknown* identity = Reach<FUnknown>(from);
    EXPECT_EQ(Reach<IPluginBase>(from), identity);
    EXPECT_EQ(Reach<IComponent>(from), identity);
    EXPECT_EQ(Reach<IAudioProcessor>(from), identity);
    EXPECT_EQ(Reach<IEditController>(from), identity);
    EXPECT_EQ(Reach<IEditController2>(from), identity);
    EXPECT_EQ(Reach<IConnectionPoint>(from), identity);
    EXPECT_EQ(Reach<IUnitInfo>(from), identity);
    EXPECT_EQ(Reach<IPlugView>(from), nullptr);
}

FUnknown* CreateTestPlugin() {
    return static_cast<IAudioProcessor*>(new TestPlugin);
}

} // namespace

TEST(Interfaces, EveryPartIsReachableFromEveryOtherAndReferencesBalance) {
    PluginPtr plugin(new TestPlugin, false);
    ExpectEveryInterfaceFrom<IComponent>(plugin.get());
    ExpectEveryInterfaceFrom<IAudioProcessor>(plugin.get());
    ExpectEveryInterfaceFrom<IEditController>(plugin.get());
    ExpectEveryInterfaceFrom<IUnitInfo>(plugin.get());
    ExpectEveryInterfaceFrom<IConnectionPoint>(plugin.get());
    EXPECT_EQ(plugin->getRefCount(), 1);
    EXPECT_TRUE(plugin->isTypeOf("ComponentBase"));
}

TEST(Buses, AnInstrumentHasOneStereoOutputAndAMidiInputAndKeepsThem) {
    PluginPtr plugin = MakePlugin();
    EXPECT_EQ(plugin->getBusCount(kAudio, kInput), 0);
    EXPECT_EQ(plugin->getBusCount(kEvent, kOutput), 0);
    BusInfo info{};
    ASSERT_EQ(plugin->getBusInfo(kAudio, kOutput, 0, info), kResultOk);
    EXPECT_EQ(std::u16string(info.name), u"Output 1");
    EXPECT_EQ(info.channelCount, 2);
    ASSERT_EQ(plugin->getBusInfo(kEvent, kInput, 0, info), kResultOk);
    EXPECT_EQ(std::u16string(info.name), u"MIDI Input");
    EXPECT_EQ(plugin->activateBus(kAudio, kOutput, 1, true), kInvalidArgument);

    SpeakerArrangement stereo = SpeakerArr::kStereo, mono = SpeakerArr::kMono;
    EXPECT_EQ(plugin->setBusArrangements(nullptr, 0, &stereo, 1), kResultOk);
    EXPECT_EQ(plugin->setBusArrangements(nullptr, 0, &mono, 1), kResultFalse);
    EXPECT_EQ(plugin->setBusArrangements(&stereo, 1, &stereo, 1), kResultFalse);
    SpeakerArrangement arrangement = 0;
    EXPECT_EQ(plugin->getBusArrangement(kOutput, 0, arrangement), kResultOk);
    EXPECT_EQ(arrangement, SpeakerArr::kStereo);
    EXPECT_EQ(ArrangementForChannels(3), 0x103u);
}

TEST(Buses, ARefusedLayoutChangesNothingAndStereoIsTheOnlyTwoChannelLayout) {
    PluginPtr plugin = MakePlugin();
    SpeakerArrangement twoMono[] = {SpeakerArr::kMono, SpeakerArr::kMono};
    EXPECT_EQ(plugin->setBusArrangements(nullptr, 0, twoMono, 2), kResultFalse);
    for (SpeakerArrangement pair : {SpeakerArr::kStereoSurround, SpeakerArr::kStereoCenter,
                                    SpeakerArr::kStereoSide, kSpeakerL | kSpeakerC})
        EXPECT_EQ(plugin->setBusArrangements(nullptr, 0, &pair, 1), kResultFalse) << pair;
    SpeakerArrangement stereo = SpeakerArr::kStereo;
    EXPECT_EQ(plugin->setBusArrangements(nullptr, 0, &stereo, 1), kResultOk);

    BusInfo info{};
    ASSERT_EQ(plugin->getBusInfo(kAudio, kOutput, 0, info), kResultOk);
    EXPECT_EQ(std::u16string(info.name), u"Output 1");
    EXPECT_EQ(info.busType, kMain);
    SpeakerArrangement arrangement = 0;
    plugin->getBusArrangement(kOutput, 0, arrangement);
    EXPECT_EQ(arrangement, SpeakerArr::kStereo);
    Block<float> block(8);
    plugin->process(block.data);
    EXPECT_TRUE(block.IsRamp()) << "the output bus the host activated stays active";
}

TEST(Buses, AnAcceptedLayoutChangesOnlyTheArrangements) {
    IEffectConfig config;
    config.channelIO = "1-1 2-2";
    IPtr<IEffectVST3> effect(new IEffectVST3(config, 0), false);
    effect->initialize(nullptr);
    effect->activateBus(kAudio, kInput, 0, true);
    effect->activateBus(kAudio, kOutput, 0, true);
    effect->SetRenderEnabled(true);
    ProcessSetup setup{kRealtime, kSample32, 64, 48000.0};
    effect->setupProcessing(setup);

    SpeakerArrangement mono = SpeakerArr::kMono, stereo = SpeakerArr::kStereo;
    EXPECT_EQ(effect->setBusArrangements(&mono, 1, &stereo, 1), kResultFalse);
    EXPECT_EQ(effect->setBusArrangements(&mono, 1, &mono, 1), kResultOk);
    for (auto [direction, name] : {std::pair{kInput, u"Main Input"}, {kOutput, u"Output"}}) {
        BusInfo info{};
        ASSERT_EQ(effect->getBusInfo(kAudio, direction, 0, info), kResultOk);
        EXPECT_EQ(std::u16string(info.name), name);
        EXPECT_EQ(info.channelCount, 1);
    }

    std::vector<float> in(8, 0.5f), out(8, 7.0f);
    float* inChannels[] = {in.data()};
    float* outChannels[] = {out.data()};
    AudioBusBuffers input{}, output{};
    input.numChannels = output.numChannels = 1;
    input.channelBuffers32 = inChannels;
    output.channelBuffers32 = outChannels;
    ProcessData data{};
    data.symbolicSampleSize = kSample32;
    data.numSamples = 8;
    data.numInputs = data.numOutputs = 1;
    data.inputs = &input;
    data.outputs = &output;
    effect->process(data);
    EXPECT_EQ(out, in) << "both buses keep the activation the host gave them";
}

TEST(Buses, ARequestWithFewerArrangementsThanBusesIsRefused) {
    IEffectConfig config;
    config.channelIO = "0-2 0-4";
    config.isInstrument = true;
    IPtr<IEffectVST3> effect(new IEffectVST3(config, 0), false);
    effect->initialize(nullptr);
    SpeakerArrangement stereo = SpeakerArr::kStereo;
    SpeakerArrangement both[] = {stereo, stereo};
    EXPECT_EQ(effect->setBusArrangements(nullptr, 0, both, 2), kResultOk);
    EXPECT_EQ(effect->setBusArrangements(nullptr, 0, &stereo, 1), kResultFalse)
        << "the second output bus has no arrangement";
    effect->terminate();
}

TEST(Lifecycle, OneInitializationRecordsTheHostAndTerminateClearsIt) {
    FakeHost host(u"WaveLab Pro 11");
    PluginPtr plugin = MakePlugin(kSample32, &host);
    EXPECT_EQ(plugin->GetHostId(), kHostWaveLab);
    EXPECT_EQ(plugin->changed, (std::vector<int>{0, 1, 2, 3}));
    EXPECT_EQ(plugin->initialize(&host), kResultFalse);
    EXPECT_EQ(plugin->getParameterCount(), 5);

    ProcessSetup odd{kRealtime, 2, 64, 48000.0};
    EXPECT_EQ(plugin->setupProcessing(odd), kResultFalse);
    ProcessSetup noRate{kRealtime, kSample32, 64, 0.0};
    EXPECT_NE(plugin->setupProcessing(noRate), kResultOk);
    EXPECT_EQ(plugin->SampleRate(), 48000.0);
    EXPECT_EQ(plugin->canProcessSampleSize(2), kResultFalse);

    EXPECT_EQ(plugin->terminate(), kResultOk);
    EXPECT_EQ(plugin->getParameterCount(), 0);
    EXPECT_EQ(plugin->getBusCount(kAudio, kOutput), 0);
}

TEST(Factory, DescribesItsClassAndCreatesIndependentInstances) {
    auto* factory = new PluginFactory(PFactoryInfo("Vendor", "https://example.com", "", 16));
    const TUID cid = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16};
    factory->RegisterClass(PClassInfo2(cid, PClassInfo::kManyInstances, "Audio Module Class",
                                       "Test", 2, "Instrument", "", "1.0.0", "VST 3.6.5"),
                           &CreateTestPlugin);
    PClassInfoW info;
    ASSERT_EQ(factory->getClassInfoUnicode(0, &info), kResultOk);
    EXPECT_EQ(std::u16string(info.sdkVersion), u"VST 3.6.5");

    void* first = nullptr;
    void* second = nullptr;
    ASSERT_EQ(factory->createInstance(cid, IComponent::iid, &first), kResultOk);
    ASSERT_EQ(factory->createInstance(cid, IEditController::iid, &second), kResultOk);
    EXPECT_NE(Reach<FUnknown>(static_cast<IComponent*>(first)),
              Reach<FUnknown>(static_cast<IEditController*>(second)));
    EXPECT_EQ(static_cast<IComponent*>(first)->release(), 0u);
    EXPECT_EQ(static_cast<IEditController*>(second)->release(), 0u);
    const TUID other = {};
    EXPECT_EQ(factory->createInstance(other, IComponent::iid, &first), kNoInterface);
    EXPECT_EQ(first, nullptr);
    factory->release();
}

TEST(Factory, SharedFactoryIsCountedOnEveryCallAndRemadeAfterTheLastRelease) {
    static int made = 0;
    auto make = []() -> IPluginFactory* {
        ++made;
        return new PluginFactory(PFactoryInfo("Vendor", "", "", 16));
    };
    IPluginFactory* first = PluginFactory::Shared(make);
    EXPECT_EQ(PluginFactory::Shared(make), first);
    EXPECT_EQ(first->addRef(), 3u);
    first->release();
    first->release();
    first->release();
    PluginFactory::Shared(make)->release();
    EXPECT_EQ(made, 2);
}
