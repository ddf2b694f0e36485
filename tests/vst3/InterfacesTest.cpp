#include "HostFakes.h"
#include "TestPlugin.h"
#include "vst3/PluginFactory.h"

#include "pluginterfaces/gui/iplugview.h"
#include "pluginterfaces/vst/ivstunits.h"
#include "pluginterfaces/vst/vstspeaker.h"

#include <gtest/gtest.h>

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace {

template <typename Interface> Interface* Query(FUnknown* object) {
    void* obj = nullptr;
    if (object->queryInterface(Interface::iid, &obj) != kResultOk) return nullptr;
    return static_cast<Interface*>(obj);
}

// The identity of an object: what it answers for FUnknown. The extra reference is dropped.
FUnknown* Identity(FUnknown* object) {
    FUnknown* unknown = Query<FUnknown>(object);
    unknown->release();
    return unknown;
}

template <typename Interface> void ExpectReachableFrom(FUnknown* from, FUnknown* identity) {
    Interface* found = Query<Interface>(from);
    ASSERT_NE(found, nullptr);
    EXPECT_EQ(Identity(found), identity);
    found->release();
}

template <typename Interface> void ExpectEveryInterfaceFrom(TestPlugin* plugin) {
    FUnknown* from = static_cast<Interface*>(plugin);
    FUnknown* identity = Identity(from);
    ExpectReachableFrom<FUnknown>(from, identity);
    ExpectReachableFrom<IPluginBase>(from, identity);
    ExpectReachableFrom<IComponent>(from, identity);
    ExpectReachableFrom<IAudioProcessor>(from, identity);
    ExpectReachableFrom<IEditController>(from, identity);
    ExpectReachableFrom<IEditController2>(from, identity);
    ExpectReachableFrom<IConnectionPoint>(from, identity);
    ExpectReachableFrom<IUnitInfo>(from, identity);
    EXPECT_EQ(Query<IPlugView>(from), nullptr);
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
}

TEST(Interfaces, ClassNamesFollowTheInheritanceChain) {
    PluginPtr plugin = MakePlugin();
    EXPECT_STREQ(plugin->isA(), "IEffectVST3");
    for (const char* name : {"SingleComponentEffect", "EditController", "ComponentBase", "FObject"})
        EXPECT_TRUE(plugin->isTypeOf(name)) << name;
    EXPECT_FALSE(plugin->isTypeOf("Component"));
    Parameter* parameter = plugin->getParameterObject(TestPlugin::kFreq);
    EXPECT_STREQ(parameter->isA(), "IEffectParameter");
    EXPECT_TRUE(parameter->isTypeOf("Parameter"));
}

TEST(Buses, InstrumentHasOneStereoOutputAndAMidiInput) {
    PluginPtr plugin = MakePlugin();
    IComponent* component = plugin.get();
    EXPECT_EQ(component->getBusCount(kAudio, kInput), 0);
    EXPECT_EQ(component->getBusCount(kAudio, kOutput), 1);
    EXPECT_EQ(component->getBusCount(kEvent, kInput), 1);
    EXPECT_EQ(component->getBusCount(kEvent, kOutput), 0);

    BusInfo info{};
    ASSERT_EQ(component->getBusInfo(kAudio, kOutput, 0, info), kResultOk);
    EXPECT_EQ(std::u16string(info.name), u"Output 1");
    EXPECT_EQ(info.channelCount, 2);
    EXPECT_EQ(info.busType, kMain);
    EXPECT_EQ(info.flags, static_cast<uint32>(BusInfo::kDefaultActive));
    ASSERT_EQ(component->getBusInfo(kEvent, kInput, 0, info), kResultOk);
    EXPECT_EQ(std::u16string(info.name), u"MIDI Input");
    EXPECT_EQ(info.channelCount, 1);
    EXPECT_EQ(component->getBusInfo(kAudio, kOutput, 1, info), kInvalidArgument);
    EXPECT_EQ(component->getBusInfo(kAudio, kInput, -1, info), kInvalidArgument);
    EXPECT_EQ(component->activateBus(kAudio, kOutput, 3, true), kInvalidArgument);

    SpeakerArrangement arrangement = 0;
    EXPECT_EQ(plugin->getBusArrangement(kOutput, 0, arrangement), kResultOk);
    EXPECT_EQ(arrangement, SpeakerArr::kStereo);
    EXPECT_EQ(plugin->getBusArrangement(kInput, 0, arrangement), kInvalidArgument);
}

TEST(Buses, OnlyTheOwnArrangementIsAccepted) {
    PluginPtr plugin = MakePlugin();
    SpeakerArrangement stereo = SpeakerArr::kStereo;
    SpeakerArrangement mono = SpeakerArr::kMono;
    EXPECT_EQ(plugin->setBusArrangements(nullptr, 0, &stereo, 1), kResultOk);
    EXPECT_EQ(plugin->setBusArrangements(nullptr, 0, &mono, 1), kResultFalse);
    EXPECT_EQ(plugin->setBusArrangements(&stereo, 1, &stereo, 1), kResultFalse);
    SpeakerArrangement arrangement = 0;
    plugin->getBusArrangement(kOutput, 0, arrangement);
    EXPECT_EQ(arrangement, SpeakerArr::kStereo);
}

TEST(Buses, ArrangementsFollowTheChannelCount) {
    const SpeakerArrangement expected[] = {0, 0x80000, 0x3, 0x103, 0xF00000, 0x37, 0x3F, 0};
    for (int channels = 0; channels <= 7; ++channels)
        EXPECT_EQ(ArrangementForChannels(channels), expected[channels]) << channels;
}

TEST(Processor, AnswersForSetupAndUnsupportedCalls) {
    PluginPtr plugin = MakePlugin();
    EXPECT_EQ(plugin->canProcessSampleSize(kSample32), kResultOk);
    EXPECT_EQ(plugin->canProcessSampleSize(kSample64), kResultOk);
    EXPECT_EQ(plugin->canProcessSampleSize(2), kResultFalse);
    ProcessSetup odd{kRealtime, 2, 64, 48000.0};
    EXPECT_EQ(plugin->setupProcessing(odd), kResultFalse);
    ProcessSetup noRate{kRealtime, kSample32, 64, 0.0};
    EXPECT_NE(plugin->setupProcessing(noRate), kResultOk);
    EXPECT_EQ(plugin->SampleRate(), 48000.0);
    EXPECT_EQ(plugin->getLatencySamples(), 0u);
    EXPECT_EQ(plugin->getTailSamples(), 0u);
    TUID cid;
    EXPECT_EQ(plugin->getControllerClassId(cid), kNotImplemented);
    EXPECT_EQ(plugin->setProcessing(true), kNotImplemented);
    EXPECT_EQ(plugin->setIoMode(0), kNotImplemented);
    EXPECT_EQ(plugin->createView("editor"), nullptr);
}

TEST(Lifecycle, InitializeOnceRecordsTheHostAndTerminateClearsEverything) {
    FakeHost host(u"WaveLab Pro 11");
    PluginPtr plugin = MakePlugin(kSample32, 64, &host);
    EXPECT_EQ(plugin->GetHostId(), kHostWaveLab);
    EXPECT_EQ(plugin->changed, (std::vector<int>{0, 1, 2, 3}));
    EXPECT_EQ(plugin->initialize(&host), kResultFalse);
    EXPECT_EQ(plugin->getParameterCount(), 5);
    EXPECT_EQ(plugin->terminate(), kResultOk);
    EXPECT_EQ(plugin->getParameterCount(), 0);
    EXPECT_EQ(plugin->getBusCount(kAudio, kOutput), 0);
}

TEST(Factory, DescribesItsClassesAndCreatesIndependentInstances) {
    auto* factory = new PluginFactory(PFactoryInfo("Vendor", "https://example.com", "", 16));
    const TUID cid = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16};
    factory->RegisterClass(PClassInfo2(cid, PClassInfo::kManyInstances, "Audio Module Class",
                                       "Test", 2, "Instrument", "", "1.0.0", "VST 3.6.5"),
                           &CreateTestPlugin);
    EXPECT_EQ(factory->countClasses(), 1);
    PClassInfo2 info2;
    ASSERT_EQ(factory->getClassInfo2(0, &info2), kResultOk);
    EXPECT_STREQ(info2.subCategories, "Instrument");
    EXPECT_STREQ(info2.sdkVersion, "VST 3.6.5");
    PClassInfoW infoW;
    ASSERT_EQ(factory->getClassInfoUnicode(0, &infoW), kResultOk);
    EXPECT_EQ(std::u16string(infoW.name), u"Test");
    EXPECT_EQ(factory->getClassInfo2(1, &info2), kInvalidArgument);

    void* first = nullptr;
    void* second = nullptr;
    ASSERT_EQ(factory->createInstance(cid, IComponent::iid, &first), kResultOk);
    ASSERT_EQ(factory->createInstance(cid, IEditController::iid, &second), kResultOk);
    EXPECT_NE(Identity(static_cast<IComponent*>(first)),
              Identity(static_cast<IEditController*>(second)));
    static_cast<IComponent*>(first)->release();
    static_cast<IEditController*>(second)->release();
    const TUID other = {};
    void* none = &first;
    EXPECT_EQ(factory->createInstance(other, IComponent::iid, &none), kNoInterface);
    EXPECT_EQ(none, nullptr);
    factory->release();
}

TEST(Factory, SharedFactoryIsCountedOnEveryCallAndRemadeAfterTheLastRelease) {
    static int made = 0;
    auto make = []() -> IPluginFactory* {
        ++made;
        return new PluginFactory(PFactoryInfo("Vendor", "", "", 16));
    };
    IPluginFactory* first = PluginFactory::Shared(make);
    IPluginFactory* again = PluginFactory::Shared(make);
    EXPECT_EQ(first, again);
    EXPECT_EQ(made, 1);
    EXPECT_EQ(first->addRef(), 3u);
    EXPECT_EQ(first->release(), 2u);
    again->release();
    first->release();
    PluginFactory::Shared(make)->release();
    EXPECT_EQ(made, 2);
}
