#include "TestPlugin.h"
#include "support/CommaLocale.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
const double kFreqDefault = std::sqrt((440.0 - 5.0) / 9995.0);

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

} // namespace

TEST(Parameters, InfoComesFromTheModelsAfterTheProgramParameter) {
    PluginPtr plugin = MakePlugin();
    ASSERT_EQ(plugin->getParameterCount(), 5);
    ParameterInfo info{};
    ASSERT_EQ(plugin->getParameterInfo(0, info), kResultOk);
    EXPECT_EQ(std::u16string(info.title), u"Presets");
    EXPECT_EQ(info.id, IEffectVST3::kProgramParamId);
    EXPECT_EQ(info.flags, 0x8008);
    EXPECT_EQ(info.stepCount, 2);

    ASSERT_EQ(plugin->getParameterInfo(1, info), kResultOk);
    EXPECT_EQ(std::u16string(info.title) + u"/" + info.units, u"Freq/Hz");
    EXPECT_EQ(info.id, 0u);
    EXPECT_EQ(info.stepCount, 0);
    EXPECT_EQ(info.flags, ParameterInfo::kCanAutomate);
    EXPECT_DOUBLE_EQ(info.defaultNormalizedValue, kFreqDefault);
    ASSERT_EQ(plugin->getParameterInfo(2, info), kResultOk);
    EXPECT_EQ(info.stepCount, 15);
    EXPECT_EQ(plugin->getParameterInfo(5, info), kResultFalse);
    EXPECT_EQ(plugin->getParameterInfo(-1, info), kResultFalse);
}

TEST(Parameters, TextsConvertBothWaysThroughTheModel) {
    PluginPtr plugin = MakePlugin();
    EXPECT_EQ(Text(plugin.get(), TestPlugin::kFreq, 0.0), u"5.0");
    EXPECT_EQ(Text(plugin.get(), TestPlugin::kMode, 1.0), u"Square");
    EXPECT_EQ(Text(plugin.get(), TestPlugin::kGain, 0.0), u"0");
    EXPECT_EQ(Text(plugin.get(), TestPlugin::kGain, 0.5), u"50.00");
    EXPECT_EQ(Text(plugin.get(), IEffectVST3::kProgramParamId, 0.0), u"<false>");
    EXPECT_EQ(Text(plugin.get(), TestPlugin::kFreq, 3.0), u"10000.0");
    EXPECT_EQ(Text(plugin.get(), TestPlugin::kFreq, kNaN), u"5.0");

    EXPECT_DOUBLE_EQ(ValueOf(plugin.get(), TestPlugin::kFreq, u"440"), kFreqDefault);
    EXPECT_DOUBLE_EQ(ValueOf(plugin.get(), TestPlugin::kGain, u"25.5 %"), 0.255);
    EXPECT_EQ(ValueOf(plugin.get(), TestPlugin::kGain, u"abc"), 0.0);
    EXPECT_EQ(ValueOf(plugin.get(), TestPlugin::kGain, u"1e9"), 1.0);
    ParamValue normalized = 0.0;
    EXPECT_EQ(plugin->getParamValueByString(TestPlugin::kGain, nullptr, normalized),
              kInvalidArgument);
}

TEST(Parameters, ChoicesAreListsThatReadTheirTextsInAnyCaseAndTheirNumbers) {
    PluginPtr plugin = MakePlugin();
    ParameterInfo info{};
    ASSERT_EQ(plugin->getParameterInfo(1 + TestPlugin::kMode, info), kResultOk);
    EXPECT_EQ(info.flags, ParameterInfo::kCanAutomate | ParameterInfo::kIsList);
    ASSERT_EQ(plugin->getParameterInfo(1 + TestPlugin::kCount, info), kResultOk);
    EXPECT_EQ(info.flags, ParameterInfo::kCanAutomate);

    for (double x : {0.0, 0.5, 1.0})
        EXPECT_EQ(
            ValueOf(plugin.get(), TestPlugin::kMode, Text(plugin.get(), TestPlugin::kMode, x)), x);
    EXPECT_EQ(ValueOf(plugin.get(), TestPlugin::kMode, u"SQUARE"), 1.0);
    EXPECT_EQ(ValueOf(plugin.get(), TestPlugin::kMode, u" saw "), 0.5);
    EXPECT_EQ(ValueOf(plugin.get(), TestPlugin::kMode, u"2"), 1.0);
    EXPECT_EQ(ValueOf(plugin.get(), TestPlugin::kMode, u"Triangle"), -1.0) << "refused";
    EXPECT_EQ(ValueOf(plugin.get(), TestPlugin::kCount, u"+12"), 11.0 / 15.0);
}

TEST(Parameters, NumbersAreWrittenAndReadWithAPointWhateverTheLocale) {
    CommaLocale comma;
    if (!comma.Active()) GTEST_SKIP() << "no locale with a decimal comma could be made";
    PluginPtr plugin = MakePlugin();
    EXPECT_EQ(Text(plugin.get(), TestPlugin::kGain, 0.255), u"25.50");
    EXPECT_EQ(Text(plugin.get(), TestPlugin::kFreq, kFreqDefault), u"440.0");
    EXPECT_DOUBLE_EQ(ValueOf(plugin.get(), TestPlugin::kGain, u"11.5"), 0.115);
    EXPECT_DOUBLE_EQ(ValueOf(plugin.get(), TestPlugin::kFreq, u"440.0 Hz"), kFreqDefault);
}

TEST(Parameters, ConversionsStayInsideTheRanges) {
    PluginPtr plugin = MakePlugin();
    const double plain = plugin->normalizedParamToPlain(TestPlugin::kFreq, 0.3);
    EXPECT_NEAR(plugin->plainParamToNormalized(TestPlugin::kFreq, plain), 0.3, 1e-12);
    EXPECT_EQ(plugin->normalizedParamToPlain(TestPlugin::kFreq, kNaN), 5.0);
    EXPECT_EQ(plugin->normalizedParamToPlain(TestPlugin::kFreq, 2.0), 10000.0);
    EXPECT_EQ(plugin->plainParamToNormalized(IEffectVST3::kProgramParamId, 1.0), 0.5);
    EXPECT_EQ(plugin->plainParamToNormalized(IEffectVST3::kProgramParamId, 9.0), 1.0);
    EXPECT_EQ(plugin->normalizedParamToPlain(IEffectVST3::kProgramParamId, 1.0), 2.0);
    EXPECT_EQ(plugin->plainParamToNormalized(99, 7.0), 7.0);
}

TEST(Parameters, ControllerWritesStoreTheValueOnlyAndRefuseNaN) {
    PluginPtr plugin = MakePlugin();
    plugin->changed.clear();
    EXPECT_EQ(plugin->setParamNormalized(TestPlugin::kCount, 1.0), kResultOk);
    EXPECT_EQ(plugin->ParamAt(TestPlugin::kCount)->Value(), 16.0);
    EXPECT_EQ(plugin->setParamNormalized(TestPlugin::kGain, 1.5), kResultOk);
    EXPECT_EQ(plugin->getParamNormalized(TestPlugin::kGain), 1.0);

    EXPECT_EQ(plugin->setParamNormalized(IEffectVST3::kProgramParamId, 0.5), kResultOk);
    EXPECT_EQ(plugin->CurrentPreset(), 1);
    EXPECT_EQ(plugin->getParamNormalized(IEffectVST3::kProgramParamId), 0.5);
    EXPECT_EQ(plugin->ParamAt(TestPlugin::kFreq)->Value(), 440.0);
    EXPECT_EQ(plugin->setParamNormalized(IEffectVST3::kBypassParamId, 1.0), kResultOk);
    EXPECT_EQ(plugin->getParamNormalized(IEffectVST3::kBypassParamId), 1.0);

    EXPECT_EQ(plugin->setParamNormalized(TestPlugin::kGain, kNaN), kResultFalse);
    EXPECT_EQ(plugin->setParamNormalized(IEffectVST3::kProgramParamId, kNaN), kResultFalse);
    EXPECT_EQ(plugin->getParamNormalized(TestPlugin::kGain), 1.0);
    EXPECT_EQ(plugin->CurrentPreset(), 1);
    EXPECT_EQ(plugin->setParamNormalized(99, 0.5), kResultFalse);
    EXPECT_TRUE(plugin->changed.empty());
}

TEST(Units, TheRootUnitCarriesOneProgramListNamingEverySlot) {
    PluginPtr plugin = MakePlugin();
    EXPECT_EQ(plugin->getUnitCount(), 1);
    UnitInfo unit{};
    EXPECT_EQ(plugin->getUnitInfo(1, unit), kResultFalse);
    String128 name{};
    const ProgramListID id = IEffectVST3::kProgramListId;
    for (auto [index, expected] : {std::pair{1, u"Second"}, {2, u"- 3 -"}, {7, u""}}) {
        ASSERT_EQ(plugin->getProgramName(id, index, name), kResultOk);
        EXPECT_EQ(std::u16string(name), expected);
    }
    EXPECT_EQ(plugin->getProgramName(0, 0, name), kResultFalse);
}

TEST(Notifications, EditsReachTheHostOnlyThroughItsHandler) {
    PluginPtr plugin = MakePlugin();
    plugin->SetParamFromEditor(TestPlugin::kGain, 0.25);
    FakeHandler handler;
    plugin->setComponentHandler(&handler);
    plugin->BeginParamEdit(TestPlugin::kGain);
    plugin->SetParamFromEditor(TestPlugin::kGain, 0.75);
    plugin->EndParamEdit(TestPlugin::kGain);
    EXPECT_EQ(handler.calls, "b3p3e3");
    plugin->SetLatency(12);
    EXPECT_EQ(handler.restartFlags, kLatencyChanged);
    EXPECT_EQ(plugin->getLatencySamples(), 12u);
    plugin->setComponentHandler(nullptr);
}
