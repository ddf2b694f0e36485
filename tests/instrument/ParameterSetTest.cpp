#include "Instance.h"

#include "instrument/FrequencyLibrary.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

struct Expected {
    const char* name;
    IParamType type;
    double def, min, max, step;
    const char* label;
    double shape;
    std::vector<const char*> texts;
};

const Expected kTable[kNumParams] = {
    {"Binaural", IParamType::Double, 11, 0.01, 2000, 0.01, "Hz", 2, {}},
    {"Low Freq", IParamType::Double, 10, 5, 10000, 0.1, "Hz", 2, {}},
    {"High Freq", IParamType::Double, 1500, 5, 10000, 0.1, "Hz", 2, {}},
    {"Tones", IParamType::Int, 7, 1, 16, 1, "", 1, {}},
    {"Spread", IParamType::Int, 25, 0, 100, 1, "%", 2, {}},
    {"Low", IParamType::Int, 50, 0, 100, 1, "%", 1, {}},
    {"Middle", IParamType::Int, 50, 0, 100, 1, "%", 1, {}},
    {"High", IParamType::Int, 50, 0, 100, 1, "%", 1, {}},
    {"Wave",
     IParamType::Enum,
     0,
     0,
     6,
     1,
     "",
     1,
     {"Sine", "Triangle", "Saw", "Golden Sine", "Gold. Sine Half", "Gold. Triangle",
      "Gold. Square"}},
    {"Rate", IParamType::Double, 60, 0.1, 180, 0.1, "s", 1, {}},
    {"Binaural Pan", IParamType::Enum, 2, 0, 2, 1, "", 1, {"Left", "Null", "Right"}},
    {"Play Anyway", IParamType::Enum, 0, 0, 1, 1, "", 1, {"No", "Yes"}},
    {"Volume", IParamType::Int, 50, 0, 100, 1, "%", 1, {}},
    {"Freq Graph", IParamType::Enum, 0, 0, 1, 1, "", 1, {"LFO Pos", "Real Freq"}},
    {"Qfreq", IParamType::Int, 18, -90, 90, 1, "%", 1, {}},
    {"Qvol1", IParamType::Int, 24, -90, 90, 1, "%", 1, {}},
    {"Qvol2", IParamType::Int, -24, -90, 90, 1, "%", 1, {}},
    {"Qvol3", IParamType::Int, 24, -90, 90, 1, "%", 1, {}},
    {"Qvol4", IParamType::Int, -24, -90, 90, 1, "%", 1, {}},
    {"Xvol1", IParamType::Double, 25, 0, 100, 0.1, "%", 1, {}},
    {"Xvol2", IParamType::Double, 50, 0, 100, 0.1, "%", 1, {}},
    {"Xvol3", IParamType::Double, 75, 0, 100, 0.1, "%", 1, {}},
};

// Slots 1 to 11: the values that differ from the defaults ("Play Anyway" always), and the
// parameters a recall sets.
struct Programme {
    int slot;
    std::vector<std::pair<int, double>> values;
    std::vector<int> owned;
};

const Programme kProgrammes[] = {
    {1, {{kWave, 3}, {kPlayAnyway, 1}}, {kWave, kPlayAnyway}},
    {2, {{kWave, 4}, {kPlayAnyway, 1}}, {kWave, kPlayAnyway}},
    {3, {{kTones, 3}, {kSpread, 0}, {kPlayAnyway, 1}}, {kTones, kSpread}},
    {4, {{kTones, 3}, {kSpread, 0}, {kWave, 3}, {kPlayAnyway, 1}}, {kTones, kSpread, kWave}},
    {5,
     {{kLowFreq, 1500}, {kHighFreq, 10}, {kPlayAnyway, 0}, {kQfreq, -18}},
     {kLowFreq, kHighFreq, kQfreq}},
    {6, {{kPlayAnyway, 0}, {kXvol1, 15}, {kXvol3, 85}}, {kXvol1, kXvol2, kXvol3}},
    {7, {{kPlayAnyway, 0}, {kXvol1, 35}, {kXvol3, 65}}, {kXvol1, kXvol2, kXvol3}},
    {8,
     {{kPlayAnyway, 0}, {kXvol1, 12.5}, {kXvol2, 37.5}, {kXvol3, 62.5}},
     {kXvol1, kXvol2, kXvol3}},
    {9,
     {{kPlayAnyway, 0}, {kXvol1, 37.5}, {kXvol2, 62.5}, {kXvol3, 87.5}},
     {kXvol1, kXvol2, kXvol3}},
    {10, {{kPlayAnyway, 0}, {kQfreq, 36}}, {kQfreq}},
    {11, {{kPlayAnyway, 0}, {kQfreq, -36}}, {kQfreq}},
};

double StoredValue(const IPresetEntry& preset, int index) {
    double value = 0;
    preset.chunk.GetDouble(index * 8, &value);
    return value;
}

} // namespace

TEST(ParameterSet, MatchesTheTableExactly) {
    auto p = MakeInstance();
    ASSERT_EQ(p->ParamCount(), kNumParams);
    for (int i = 0; i < kNumParams; ++i) {
        SCOPED_TRACE(kTable[i].name);
        const IParamModel& m = *p->ParamAt(i);
        EXPECT_STREQ(m.Name(), kTable[i].name);
        EXPECT_EQ(m.Type(), kTable[i].type);
        EXPECT_EQ(m.Default(), kTable[i].def);
        EXPECT_EQ(m.Value(), kTable[i].def);
        EXPECT_EQ(m.Min(), kTable[i].min);
        EXPECT_EQ(m.Max(), kTable[i].max);
        EXPECT_EQ(m.Step(), kTable[i].step);
        EXPECT_STREQ(m.Label(), kTable[i].label);
        EXPECT_EQ(m.Shape(), kTable[i].shape);
        EXPECT_STREQ(m.Group(), "");
        ASSERT_EQ(m.DisplayTextCount(), static_cast<int>(kTable[i].texts.size()));
        for (size_t t = 0; t < kTable[i].texts.size(); ++t)
            EXPECT_STREQ(m.DisplayTextFor(static_cast<int>(t)), kTable[i].texts[t]);
    }
    EXPECT_EQ(p->ParamAt(kBinaural)->FormatValue(0.0, true), "0.01");
    EXPECT_EQ(p->ParamAt(kWave)->FormatValue(0.0, true), "Sine");
}

// A host's normalised value lands on the nearest step of a whole-number or list parameter.
TEST(ParameterSet, HostValuesRoundToTheNearestStep) {
    auto p = MakeInstance();
    ASSERT_EQ(p->setParamNormalized(kBinauralPan, 0.9), Steinberg::kResultOk);
    const IParamModel& pan = *p->ParamAt(kBinauralPan);
    EXPECT_EQ(pan.FormatValue(pan.Value(), false), "Right");
    p->setParamNormalized(kTones, 0.52);
    EXPECT_EQ(p->ParamAt(kTones)->Value(), 9.0) << "1 + 15 x 0.52 = 8.8";
}

TEST(ParameterSet, FreshStateIs176BytesStartingWithTheBinauralDefault) {
    auto p = MakeInstance();
    IStateChunk state;
    ASSERT_TRUE(p->WriteState(state));
    ASSERT_EQ(state.Size(), 176);
    double first = 0;
    state.GetDouble(0, &first);
    EXPECT_EQ(first, 11.0);
}

TEST(FactoryPresets, NamesOfAllSlots) {
    auto p = MakeInstance();
    ASSERT_EQ(p->PresetCount(), 150);
    EXPECT_STREQ(p->PresetName(0), "---- default ----");
    EXPECT_STREQ(p->PresetName(1), "Power of golden waves (lock another params)");
    EXPECT_STREQ(p->PresetName(8), "Increase the volume on low frequencies (l.a.p.)");
    EXPECT_STREQ(p->PresetName(11), "Focus on high frequencies (lock another params)");
    EXPECT_STREQ(p->PresetName(12), "Healing - Dental pain (0.2)");
    EXPECT_STREQ(p->PresetName(120), "Healing - Circulation  & sex (586)");
    EXPECT_STREQ(p->PresetName(130), "Solfeggio - (Pineal Gland Activator) 936 Hz");
    EXPECT_STREQ(p->PresetName(131), "- 132 -");
    EXPECT_STREQ(p->PresetName(149), "- 150 -");
}

TEST(FactoryPresets, LibraryEntriesStoreTheFrequencyInTheirName) {
    auto p = MakeInstance();
    ASSERT_EQ(FrequencyLibrary().size(), 119u);
    for (int slot = 12; slot <= 130; ++slot) {
        const IPresetEntry& preset = *p->PresetAt(slot);
        SCOPED_TRACE(preset.name);
        const std::string& name = preset.name;
        const size_t open = name.rfind('(');
        const double written = name.back() == ')'
                                   ? std::atof(name.c_str() + open + 1)
                                   : std::atof(name.c_str() + name.rfind(' ', name.size() - 4));
        EXPECT_EQ(StoredValue(preset, kBinaural), written);
        for (int i = 1; i < kNumParams; ++i) {
            double expected = kTable[i].def;
            if (i == kPlayAnyway) expected = 1;
            if (i == kWave && slot == 79) expected = 3;
            EXPECT_EQ(StoredValue(preset, i), expected) << kTable[i].name;
        }
    }
}

TEST(FactoryPresets, ProgrammePresetsStoreTheirTableAndRecallWhatTheyOwn) {
    auto p = MakeInstance();
    ApplyAllParameters(*p);
    for (const Programme& programme : kProgrammes) {
        SCOPED_TRACE(programme.slot);
        double expected[kNumParams];
        for (int i = 0; i < kNumParams; ++i) expected[i] = kTable[i].def;
        for (const auto& [index, value] : programme.values) expected[index] = value;
        const IPresetEntry& preset = *p->PresetAt(programme.slot);
        ASSERT_EQ(preset.chunk.Size(), 8 * kNumParams);
        for (int i = 0; i < kNumParams; ++i)
            EXPECT_EQ(StoredValue(preset, i), expected[i]) << kTable[i].name;

        for (int i = 0; i < kNumParams; ++i) SetParam(*p, i, kTable[i].min);
        EXPECT_TRUE(p->LoadPreset(programme.slot));
        for (int i = 0; i < kNumParams; ++i) {
            const bool owned = std::count(programme.owned.begin(), programme.owned.end(), i) > 0;
            EXPECT_EQ(p->ParamAt(i)->Value(), owned ? expected[i] : kTable[i].min)
                << kTable[i].name;
        }
    }
}

TEST(FactoryPresets, RecallAppliesOnlyWhatAPresetOwns) {
    auto p = MakeInstance();
    ApplyAllParameters(*p);
    SetParam(*p, kBinaural, 7.83);

    EXPECT_TRUE(p->LoadPreset(5));
    EXPECT_EQ(p->ParamAt(kLowFreq)->Value(), 1500);
    EXPECT_EQ(p->ParamAt(kHighFreq)->Value(), 10);
    EXPECT_EQ(p->ParamAt(kQfreq)->Value(), -18);
    EXPECT_EQ(p->ParamAt(kBinaural)->Value(), 7.83);

    EXPECT_TRUE(p->LoadPreset(3));
    EXPECT_EQ(p->ParamAt(kTones)->Value(), 3);
    EXPECT_EQ(p->ParamAt(kSpread)->Value(), 0);
    EXPECT_EQ(p->ParamAt(kPlayAnyway)->Value(), 0);

    EXPECT_TRUE(p->LoadPreset(87));
    EXPECT_EQ(p->ParamAt(kBinaural)->Value(), 7.83);
    EXPECT_EQ(p->ParamAt(kPlayAnyway)->Value(), 1);
    EXPECT_EQ(p->ParamAt(kLowFreq)->Value(), 10);
    EXPECT_EQ(p->ParamAt(kTones)->Value(), 7);

    EXPECT_TRUE(p->LoadPreset(79));
    EXPECT_EQ(p->ParamAt(kWave)->Value(), 3);
    EXPECT_EQ(p->ParamAt(kBinaural)->Value(), 55);
}

TEST(FactoryPresets, TheEmptyDefaultSlotChangesNothingAndReportsFailure) {
    auto p = MakeInstance();
    SetParam(*p, kBinaural, 40);
    EXPECT_FALSE(p->LoadPreset(0));
    EXPECT_EQ(p->ParamAt(kBinaural)->Value(), 40);
    EXPECT_EQ(p->CurrentPreset(), 0);
}

TEST(FactoryPresets, StateRestoreAppliesEverythingWhateverPresetIsCurrent) {
    auto p = MakeInstance();
    ApplyAllParameters(*p);
    p->LoadPreset(3);
    IStateChunk changed;
    for (int i = 0; i < kNumParams; ++i) changed.PutDouble(i == kBinaural ? 33.0 : kTable[i].def);
    EXPECT_EQ(p->ReadState(changed, 0), 176);
    EXPECT_EQ(p->ParamAt(kBinaural)->Value(), 33);
    EXPECT_EQ(p->ParamAt(kTones)->Value(), 7);
}
