#include "BundleSession.h"
#include "tools/plugin/InfoReport.h"

#include <cmath>
#include <cstring>
#include <gtest/gtest.h>

namespace serivane::integration {
namespace {

using namespace Steinberg;

constexpr Vst::ParamID programId = 0x70727374; // 'prst'

std::vector<double> plainValues(const host::Plugin& plugin) {
    std::vector<double> values;
    for (Vst::ParamID id = 0; id < 22; ++id)
        values.push_back(plugin.toPlain(id, plugin.normalizedValue(id)));
    return values;
}

std::vector<double> decode(const std::vector<char>& state) {
    std::vector<double> values(state.size() / sizeof(double));
    std::memcpy(values.data(), state.data(), values.size() * sizeof(double));
    return values;
}

tools::ParameterSetting preset(const host::Plugin& plugin, int slot) {
    tools::ParameterSetting result;
    std::string error;
    EXPECT_TRUE(tools::resolvePreset(plugin, std::to_string(slot), result, error)) << error;
    return result;
}

TEST(State, AFreshInstanceSavesItsTwentyTwoDefaultsAsDoubles) {
    auto plugin = instantiate();
    ASSERT_NE(plugin, nullptr);
    std::vector<char> state;
    std::string error;
    ASSERT_TRUE(plugin->saveState(state, error)) << error;
    ASSERT_EQ(state.size(), 176u);
    std::vector<double> saved = decode(state);
    EXPECT_EQ(saved[0], 11.0);
    std::vector<double> live = plainValues(*plugin);
    for (std::size_t i = 0; i < 22; ++i) EXPECT_NEAR(saved[i], live[i], 1e-9) << i;
}

TEST(State, RoundTripsThroughAnotherInstance) {
    auto source = instantiate();
    auto target = instantiate();
    ASSERT_TRUE(source && target);
    apply(*source, {setting(*source, "Binaural", "7.83"), setting(*source, "Wave", "Gold. Square"),
                    setting(*source, "Tones", "3"), setting(*source, "Low Freq", "1500"),
                    setting(*source, "High Freq", "10"), setting(*source, "Xvol1", "12.5"),
                    setting(*source, "Play Anyway", "Yes")});
    std::vector<char> state;
    std::string error;
    ASSERT_TRUE(source->saveState(state, error)) << error;
    std::vector<double> saved = decode(state);
    EXPECT_NEAR(saved[0], 7.83, 1e-9);
    EXPECT_EQ(saved[8], 6.0);
    EXPECT_EQ(saved[1], 1500.0);

    ASSERT_TRUE(target->loadState(state, error)) << error;
    std::vector<char> restored;
    ASSERT_TRUE(target->saveState(restored, error)) << error;
    EXPECT_EQ(restored, state);
    for (Vst::ParamID id = 0; id < 22; ++id)
        EXPECT_NEAR(target->normalizedValue(id), source->normalizedValue(id), 1e-12) << id;
}

TEST(Presets, PartialPresetsSetOnlyTheParametersTheyOwn) {
    auto plugin = instantiate();
    ASSERT_NE(plugin, nullptr);
    apply(*plugin, {setting(*plugin, "Binaural", "7.83"), setting(*plugin, "Tones", "9")});

    apply(*plugin, {preset(*plugin, 5)});
    EXPECT_EQ(plainValue(*plugin, "Low Freq"), 1500.0);
    EXPECT_EQ(plainValue(*plugin, "High Freq"), 10.0);
    EXPECT_EQ(plainValue(*plugin, "Qfreq"), -18.0);
    EXPECT_NEAR(plainValue(*plugin, "Binaural"), 7.83, 1e-9);
    EXPECT_EQ(plainValue(*plugin, "Tones"), 9.0);
    EXPECT_NEAR(plugin->normalizedValue(programId), 5.0 / 149.0, 1e-12);

    apply(*plugin, {preset(*plugin, 3)});
    EXPECT_EQ(plainValue(*plugin, "Tones"), 3.0);
    EXPECT_EQ(plainValue(*plugin, "Spread"), 0.0);
    EXPECT_EQ(plainValue(*plugin, "Play Anyway"), 0.0) << "slot 3 does not own Play Anyway";
    EXPECT_EQ(plainValue(*plugin, "Low Freq"), 1500.0);
}

TEST(Presets, ALibraryPresetSetsEveryParameter) {
    auto plugin = instantiate();
    ASSERT_NE(plugin, nullptr);
    std::vector<double> baseline = plainValues(*plugin);
    baseline[11] = 1.0; // library presets turn "Play Anyway" on
    apply(*plugin, {setting(*plugin, "Wave", "Saw"), setting(*plugin, "Volume", "90"),
                    setting(*plugin, "Xvol3", "80")});

    std::string name = tools::rootPrograms(*plugin).programs[12];
    std::string number = name.substr(name.rfind('(') + 1);
    apply(*plugin, {preset(*plugin, 12)});
    std::vector<double> loaded = plainValues(*plugin);
    EXPECT_NEAR(loaded[0], std::stod(number), 1e-9) << name;
    for (std::size_t i = 1; i < 22; ++i) EXPECT_NEAR(loaded[i], baseline[i], 1e-9) << i;
}

// The slot a program change loads is the one the host shows for the value it sent: the program
// parameter's own conversion, which maps k/149 to slot k.
TEST(Presets, EveryProgramValueLoadsTheSlotTheHostShows) {
    auto plugin = instantiate();
    ASSERT_NE(plugin, nullptr);
    host::ProcessDriver driver(*plugin, {});
    std::string error;
    ASSERT_TRUE(driver.start(error)) << error;
    auto load = [&](double value) {
        driver.parameterChanges().add(programId, value);
        EXPECT_TRUE(driver.flush());
        return static_cast<int>(std::lround(plugin->normalizedValue(programId) * 149.0));
    };
    for (int slot = 0; slot < 150; ++slot) {
        const double value = slot / 149.0;
        EXPECT_EQ(load(value), slot);
        EXPECT_EQ(plugin->toPlain(programId, value), slot);
    }
    for (int step = 0; step <= 4470; ++step) {
        const double value = step / 4470.0;
        EXPECT_EQ(load(value), plugin->toPlain(programId, value)) << value;
    }
    EXPECT_EQ(load(0.003356), 0);
}

TEST(Presets, SettingsSentAfterAPresetOverrideIt) {
    auto plugin = instantiate();
    ASSERT_NE(plugin, nullptr);
    tools::ParameterSetting library;
    std::string error;
    ASSERT_TRUE(
        tools::resolvePreset(*plugin, "Psychic - Kundalini ascension (55.0)", library, error))
        << error;
    EXPECT_NEAR(library.normalized, 79.0 / 149.0, 1e-12);
    apply(*plugin, {library});
    render(*plugin,
           {{setting(*plugin, "Wave", "Gold. Triangle"), setting(*plugin, "Binaural", "40 Hz")},
            0.05});
    EXPECT_EQ(plainValue(*plugin, "Wave"), 5.0);
    EXPECT_NEAR(plainValue(*plugin, "Binaural"), 40.0, 1e-9);
    EXPECT_EQ(plainValue(*plugin, "Play Anyway"), 1.0) << "kept from the preset";
}

TEST(Presets, UnknownChoicesAndValuesAreRefused) {
    auto plugin = instantiate();
    ASSERT_NE(plugin, nullptr);
    tools::ParameterSetting result;
    std::string error;
    EXPECT_FALSE(tools::resolvePreset(*plugin, "150", result, error));
    EXPECT_FALSE(tools::resolvePreset(*plugin, "No Such Preset", result, error));
    EXPECT_FALSE(tools::resolveSetting(*plugin, "Loudness", "3", result, error));
    EXPECT_FALSE(tools::resolveSetting(*plugin, "Presets", "3", result, error));
    EXPECT_FALSE(tools::resolveSetting(*plugin, "Binaural", "0", result, error));
    EXPECT_NE(error.find("0.01 to 2000 Hz"), std::string::npos) << error;
    EXPECT_FALSE(tools::resolveSetting(*plugin, "Tones", "3.5", result, error));
    EXPECT_NE(error.find("steps of 1"), std::string::npos) << error;
    EXPECT_FALSE(tools::resolveSetting(*plugin, "Wave", "Golden Saw", result, error));
    EXPECT_NE(error.find("\"Gold. Square\""), std::string::npos) << error;
    EXPECT_TRUE(tools::resolveSetting(*plugin, "binaural pan", "null", result, error)) << error;
    EXPECT_NEAR(result.normalized, 0.5, 1e-12);
}

} // namespace
} // namespace serivane::integration
