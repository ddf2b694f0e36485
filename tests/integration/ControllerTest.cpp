#include "BundleSession.h"
#include "tools/plugin/InfoReport.h"

#include <gtest/gtest.h>

namespace serivane::integration {
namespace {

using namespace Steinberg;

constexpr Vst::ParamID programId = 0x70727374; // 'prst'

struct Expected {
    const char* title;
    const char* units;
    double min, max, defaultValue;
    int32 steps;
    const char* defaultShown;
    bool choice = false;
};

// The 22 parameters in id order, as a host sees them.
const Expected parameterTable[] = {
    {"Binaural", "Hz", 0.01, 2000, 11, 0, "11.00"},
    {"Low Freq", "Hz", 5, 10000, 10, 0, "10.0"},
    {"High Freq", "Hz", 5, 10000, 1500, 0, "1500.0"},
    {"Tones", "", 1, 16, 7, 15, "7"},
    {"Spread", "%", 0, 100, 25, 100, "25"},
    {"Low", "%", 0, 100, 50, 100, "50"},
    {"Middle", "%", 0, 100, 50, 100, "50"},
    {"High", "%", 0, 100, 50, 100, "50"},
    {"Wave", "", 0, 6, 0, 6, "Sine", true},
    {"Rate", "s", 0.1, 180, 60, 0, "60.0"},
    {"Binaural Pan", "", 0, 2, 2, 2, "Right", true},
    {"Play Anyway", "", 0, 1, 0, 1, "No", true},
    {"Volume", "%", 0, 100, 50, 100, "50"},
    {"Freq Graph", "", 0, 1, 0, 1, "LFO Pos", true},
    {"Qfreq", "%", -90, 90, 18, 180, "18"},
    {"Qvol1", "%", -90, 90, 24, 180, "24"},
    {"Qvol2", "%", -90, 90, -24, 180, "-24"},
    {"Qvol3", "%", -90, 90, 24, 180, "24"},
    {"Qvol4", "%", -90, 90, -24, 180, "-24"},
    {"Xvol1", "%", 0, 100, 25, 0, "25.0"},
    {"Xvol2", "%", 0, 100, 50, 0, "50.0"},
    {"Xvol3", "%", 0, 100, 75, 0, "75.0"},
};

TEST(Controller, BusesAreOneStereoOutputAndOneEventInput) {
    auto plugin = instantiate();
    ASSERT_NE(plugin, nullptr);
    EXPECT_TRUE(plugin->buses(Vst::kAudio, Vst::kInput).empty());
    EXPECT_TRUE(plugin->buses(Vst::kEvent, Vst::kOutput).empty());
    auto outputs = plugin->buses(Vst::kAudio, Vst::kOutput);
    ASSERT_EQ(outputs.size(), 1u);
    EXPECT_EQ(outputs[0].name, "Output 1");
    EXPECT_EQ(outputs[0].channelCount, 2);
    EXPECT_EQ(outputs[0].busType, Vst::kMain);
    Vst::SpeakerArrangement arrangement = 0;
    EXPECT_EQ(plugin->processor()->getBusArrangement(Vst::kOutput, 0, arrangement), kResultOk);
    EXPECT_EQ(arrangement, Vst::SpeakerArr::kStereo);
    auto events = plugin->buses(Vst::kEvent, Vst::kInput);
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].name, "MIDI Input");
    EXPECT_EQ(events[0].channelCount, 1);
}

TEST(Controller, ListsThePresetParameterThenTheTwentyTwoParameters) {
    auto plugin = instantiate();
    ASSERT_NE(plugin, nullptr);
    auto parameters = plugin->parameters();
    ASSERT_EQ(parameters.size(), 23u);
    const host::ParameterDescription& presets = parameters[0];
    EXPECT_EQ(presets.id, programId);
    EXPECT_EQ(presets.title, "Presets");
    EXPECT_EQ(presets.stepCount, 149);
    EXPECT_EQ(presets.flags, Vst::ParameterInfo::kIsProgramChange | Vst::ParameterInfo::kIsList);
    EXPECT_FALSE(plugin->displayText(programId, 0.0).has_value());

    for (Vst::ParamID id = 0; id < 22; ++id) {
        const Expected& e = parameterTable[id];
        const host::ParameterDescription& p = parameters[id + 1];
        SCOPED_TRACE(e.title);
        EXPECT_EQ(p.id, id);
        EXPECT_EQ(p.title, e.title);
        EXPECT_EQ(p.units, e.units);
        EXPECT_EQ(p.stepCount, e.steps);
        EXPECT_EQ(p.unitId, Vst::kRootUnitId);
        EXPECT_EQ(p.flags,
                  Vst::ParameterInfo::kCanAutomate | (e.choice ? Vst::ParameterInfo::kIsList : 0));
        EXPECT_NEAR(plugin->toPlain(id, 0.0), e.min, 1e-9);
        EXPECT_NEAR(plugin->toPlain(id, 1.0), e.max, 1e-9);
        EXPECT_NEAR(plugin->toPlain(id, p.defaultNormalized), e.defaultValue, 1e-9);
        EXPECT_NEAR(plugin->normalizedValue(id), p.defaultNormalized, 1e-12);
        EXPECT_EQ(plugin->displayText(id, p.defaultNormalized), e.defaultShown);
        for (double x : {0.0, 0.3, 0.77, 1.0})
            EXPECT_NEAR(plugin->toNormalized(id, plugin->toPlain(id, x)), x, 1e-12);
    }
    EXPECT_EQ(plugin->displayText(0, 0.0), "0.01");
    EXPECT_EQ(plugin->displayText(8, 1.0), "Gold. Square");
}

TEST(Controller, ChoicesReadTheirTextsInAnyCaseAndTheirNumbers) {
    auto plugin = instantiate();
    ASSERT_NE(plugin, nullptr);
    auto typed = [&](Vst::ParamID id, std::u16string text) {
        Vst::ParamValue normalized = -1.0;
        // Vst::TChar is wchar_t on Windows and char16_t elsewhere, both UTF-16 units.
        plugin->controller()->getParamValueByString(id, reinterpret_cast<Vst::TChar*>(text.data()),
                                                    normalized);
        return normalized;
    };
    EXPECT_DOUBLE_EQ(typed(8, u"Triangle"), 1.0 / 6.0);
    EXPECT_DOUBLE_EQ(typed(8, u"gold. sine half"), 4.0 / 6.0);
    EXPECT_DOUBLE_EQ(typed(8, u"5"), 5.0 / 6.0);
    EXPECT_EQ(typed(10, u"NULL"), 0.5);
    EXPECT_EQ(typed(11, u"Yes"), 1.0);
    EXPECT_EQ(typed(13, u"real freq"), 1.0);
    EXPECT_EQ(typed(8, u"Square"), -1.0) << "not a wave of this instrument";
    for (Vst::ParamID id : {8u, 10u, 11u, 13u}) {
        for (double x : {0.0, 1.0}) {
            std::string shown = *plugin->displayText(id, x);
            EXPECT_EQ(typed(id, std::u16string(shown.begin(), shown.end())), x) << shown;
        }
    }
}

TEST(Controller, OffersTheFactoryPresetsAsTheRootUnitsProgramList) {
    auto plugin = instantiate();
    ASSERT_NE(plugin, nullptr);
    auto units = plugin->units();
    ASSERT_EQ(units.size(), 1u);
    EXPECT_EQ(units[0].name, "Root Unit");
    EXPECT_EQ(units[0].programListId, static_cast<Vst::ProgramListID>(programId));

    tools::ProgramListReport list = tools::rootPrograms(*plugin);
    EXPECT_EQ(list.name, "Factory Presets");
    ASSERT_EQ(list.programs.size(), 150u);
    EXPECT_EQ(list.programs[0], "---- default ----");
    EXPECT_EQ(list.programs[1], "Power of golden waves (lock another params)");
    EXPECT_EQ(list.programs[8], "Increase the volume on low frequencies (l.a.p.)");
    EXPECT_EQ(list.programs[79], "Psychic - Kundalini ascension (55.0)");
    EXPECT_EQ(list.programs[131], "- 132 -");
    EXPECT_EQ(list.programs[149], "- 150 -");
    for (std::size_t slot = 12; slot <= 130; ++slot)
        EXPECT_FALSE(list.programs[slot].empty()) << slot;
}

} // namespace
} // namespace serivane::integration
