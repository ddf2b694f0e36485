#include "HostFakes.h"
#include "TestPlugin.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

std::u16string Text(IEditController* controller, ParamID id, double normalized) {
    String128 text{};
    if (controller->getParamStringByValue(id, normalized, text) != kResultOk) return u"<false>";
    return text;
}

double ValueOf(IEditController* controller, ParamID id, std::u16string text) {
    ParamValue normalized = -1.0;
    controller->getParamValueByString(id, text.data(), normalized);
    return normalized;
}

ParameterInfo InfoAt(IEditController* controller, int index) {
    ParameterInfo info{};
    EXPECT_EQ(controller->getParameterInfo(index, info), kResultOk);
    return info;
}

} // namespace

TEST(Parameters, InfoComesFromTheModelsAfterTheProgramParameter) {
    PluginPtr plugin = MakePlugin();
    ASSERT_EQ(plugin->getParameterCount(), 5);

    const ParameterInfo presets = InfoAt(plugin.get(), 0);
    EXPECT_EQ(std::u16string(presets.title), u"Presets");
    EXPECT_EQ(presets.id, IEffectVST3::kProgramParamId);
    EXPECT_EQ(presets.flags, 0x8008);
    EXPECT_EQ(presets.stepCount, 2);

    const ParameterInfo freq = InfoAt(plugin.get(), 1);
    EXPECT_EQ(std::u16string(freq.title), u"Freq");
    EXPECT_EQ(std::u16string(freq.units), u"Hz");
    EXPECT_EQ(freq.id, 0u);
    EXPECT_EQ(freq.stepCount, 0);
    EXPECT_EQ(freq.unitId, kRootUnitId);
    EXPECT_EQ(freq.flags, ParameterInfo::kCanAutomate);
    EXPECT_DOUBLE_EQ(freq.defaultNormalizedValue, std::sqrt((440.0 - 5.0) / 9995.0));
    EXPECT_EQ(InfoAt(plugin.get(), 2).stepCount, 15);
    EXPECT_EQ(InfoAt(plugin.get(), 3).stepCount, 2);
    EXPECT_DOUBLE_EQ(InfoAt(plugin.get(), 3).defaultNormalizedValue, 0.5);

    ParameterInfo info{};
    EXPECT_EQ(plugin->getParameterInfo(5, info), kResultFalse);
    EXPECT_EQ(plugin->getParameterInfo(-1, info), kResultFalse);
}

TEST(Parameters, ValuesReadAsTheModelFormatsThem) {
    PluginPtr plugin = MakePlugin();
    EXPECT_EQ(Text(plugin.get(), TestPlugin::kFreq, 0.0), u"5.0");
    EXPECT_EQ(Text(plugin.get(), TestPlugin::kFreq, 1.0), u"10000.0");
    EXPECT_EQ(Text(plugin.get(), TestPlugin::kMode, 0.0), u"Sine");
    EXPECT_EQ(Text(plugin.get(), TestPlugin::kMode, 1.0), u"Square");
    EXPECT_EQ(Text(plugin.get(), TestPlugin::kGain, 0.0), u"0");
    EXPECT_EQ(Text(plugin.get(), TestPlugin::kGain, 0.5), u"50.00");
    EXPECT_EQ(Text(plugin.get(), IEffectVST3::kProgramParamId, 0.0), u"<false>");
    EXPECT_EQ(Text(plugin.get(), 99, 0.0), u"<false>");
    // Values a host should never send still read as a value of the range.
    EXPECT_EQ(Text(plugin.get(), TestPlugin::kFreq, 3.0), u"10000.0");
    EXPECT_EQ(Text(plugin.get(), TestPlugin::kFreq, kNaN), u"5.0");

    String128 text{};
    plugin->getParameterObject(TestPlugin::kMode)->toString(0.5, text);
    EXPECT_EQ(std::u16string(text), u"Saw");
}

TEST(Parameters, TextsReadAsNumbersFromTheirStart) {
    PluginPtr plugin = MakePlugin();
    EXPECT_DOUBLE_EQ(ValueOf(plugin.get(), TestPlugin::kFreq, u"440"),
                     std::sqrt((440.0 - 5.0) / 9995.0));
    EXPECT_DOUBLE_EQ(ValueOf(plugin.get(), TestPlugin::kGain, u"25.5 %"), 0.255);
    EXPECT_EQ(ValueOf(plugin.get(), TestPlugin::kGain, u"abc"), 0.0);
    EXPECT_EQ(ValueOf(plugin.get(), TestPlugin::kGain, u"1e9"), 1.0);
    EXPECT_EQ(ValueOf(plugin.get(), TestPlugin::kGain, u"nan"), 0.0);
    ParamValue normalized = 0.0;
    EXPECT_EQ(plugin->getParamValueByString(TestPlugin::kGain, nullptr, normalized),
              kInvalidArgument);
}

TEST(Parameters, PlainAndNormalisedAreInversesWithinTheRange) {
    PluginPtr plugin = MakePlugin();
    for (double x = 0.0; x <= 1.0; x += 0.0625) {
        const double plain = plugin->normalizedParamToPlain(TestPlugin::kFreq, x);
        EXPECT_NEAR(plugin->plainParamToNormalized(TestPlugin::kFreq, plain), x, 1e-12);
    }
    EXPECT_EQ(plugin->normalizedParamToPlain(TestPlugin::kFreq, kNaN), 5.0);
    EXPECT_EQ(plugin->normalizedParamToPlain(TestPlugin::kFreq, 2.0), 10000.0);
    EXPECT_EQ(plugin->plainParamToNormalized(TestPlugin::kFreq, 1e9), 1.0);
    EXPECT_EQ(plugin->plainParamToNormalized(IEffectVST3::kProgramParamId, 1.0), 0.5);
    EXPECT_EQ(plugin->normalizedParamToPlain(IEffectVST3::kProgramParamId, 1.0), 2.0);
    EXPECT_EQ(plugin->plainParamToNormalized(99, 7.0), 7.0);
    EXPECT_EQ(plugin->normalizedParamToPlain(99, 0.3), 0.3);
}

TEST(Parameters, ControllerWritesStoreTheValueOnly) {
    PluginPtr plugin = MakePlugin();
    plugin->changed.clear();
    EXPECT_EQ(plugin->setParamNormalized(TestPlugin::kCount, 1.0), kResultOk);
    EXPECT_EQ(plugin->ParamAt(TestPlugin::kCount)->Value(), 16.0);
    EXPECT_EQ(plugin->getParamNormalized(TestPlugin::kCount), 1.0);
    EXPECT_EQ(plugin->setParamNormalized(TestPlugin::kGain, 1.5), kResultOk);
    EXPECT_EQ(plugin->ParamAt(TestPlugin::kGain)->Value(), 100.0);

    EXPECT_EQ(plugin->setParamNormalized(IEffectVST3::kProgramParamId, 0.5), kResultOk);
    EXPECT_EQ(plugin->CurrentPreset(), 1);
    EXPECT_EQ(plugin->getParamNormalized(IEffectVST3::kProgramParamId), 0.5);
    EXPECT_EQ(plugin->ParamAt(TestPlugin::kFreq)->Value(), 440.0);

    EXPECT_EQ(plugin->setParamNormalized(IEffectVST3::kBypassParamId, 1.0), kResultOk);
    EXPECT_TRUE(plugin->Bypassed());
    EXPECT_EQ(plugin->getParamNormalized(IEffectVST3::kBypassParamId), 1.0);

    EXPECT_EQ(plugin->setParamNormalized(TestPlugin::kGain, kNaN), kResultFalse);
    EXPECT_EQ(plugin->setParamNormalized(IEffectVST3::kProgramParamId, kNaN), kResultFalse);
    EXPECT_EQ(plugin->ParamAt(TestPlugin::kGain)->Value(), 100.0);
    EXPECT_EQ(plugin->CurrentPreset(), 1);
    EXPECT_EQ(plugin->setParamNormalized(99, 0.5), kResultFalse);
    EXPECT_EQ(plugin->getParamNormalized(99), 0.0);
    EXPECT_TRUE(plugin->changed.empty());
}

TEST(Units, OneRootUnitWithTheProgramList) {
    PluginPtr plugin = MakePlugin();
    EXPECT_EQ(plugin->getUnitCount(), 1);
    UnitInfo unit{};
    ASSERT_EQ(plugin->getUnitInfo(0, unit), kResultOk);
    EXPECT_EQ(unit.id, kRootUnitId);
    EXPECT_EQ(unit.parentUnitId, kNoParentUnitId);
    EXPECT_EQ(unit.programListId, IEffectVST3::kProgramListId);
    EXPECT_EQ(std::u16string(unit.name), u"Root Unit");
    EXPECT_EQ(plugin->getUnitInfo(1, unit), kResultFalse);

    EXPECT_EQ(plugin->getProgramListCount(), 1);
    ProgramListInfo list{};
    ASSERT_EQ(plugin->getProgramListInfo(0, list), kResultOk);
    EXPECT_EQ(std::u16string(list.name), u"Factory Presets");
    EXPECT_EQ(list.programCount, 3);
    EXPECT_EQ(plugin->getProgramListInfo(1, list), kResultFalse);

    String128 name{};
    const ProgramListID id = IEffectVST3::kProgramListId;
    ASSERT_EQ(plugin->getProgramName(id, 1, name), kResultOk);
    EXPECT_EQ(std::u16string(name), u"Second");
    ASSERT_EQ(plugin->getProgramName(id, 2, name), kResultOk);
    EXPECT_EQ(std::u16string(name), u"- 3 -");
    ASSERT_EQ(plugin->getProgramName(id, 7, name), kResultOk);
    EXPECT_EQ(std::u16string(name), u"");
    EXPECT_EQ(plugin->getProgramName(0, 0, name), kResultFalse);
    EXPECT_EQ(plugin->getSelectedUnit(), kRootUnitId);
    EXPECT_EQ(plugin->selectUnit(0), kNotImplemented);
}

TEST(Notifications, EditsReachTheHostOnlyThroughItsHandler) {
    PluginPtr plugin = MakePlugin();
    plugin->SetParamFromEditor(TestPlugin::kGain, 0.25);
    FakeHandler handler;
    plugin->setComponentHandler(&handler);
    plugin->BeginParamEdit(TestPlugin::kGain);
    plugin->SetParamFromEditor(TestPlugin::kGain, 0.75);
    plugin->EndParamEdit(TestPlugin::kGain);
    EXPECT_EQ(handler.calls, "bpe");
    EXPECT_EQ(handler.ids, (std::vector<ParamID>{3, 3, 3}));
    EXPECT_DOUBLE_EQ(handler.lastValue, 0.75);

    plugin->SetLatency(12);
    EXPECT_EQ(handler.restartFlags, kLatencyChanged);
    EXPECT_EQ(plugin->getLatencySamples(), 12u);
    plugin->setComponentHandler(nullptr);
}
