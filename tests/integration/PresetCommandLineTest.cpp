// `--preset` by part of a name, and `info --preset`, through the built bundle.
#include "BundleSession.h"
#include "ToolRun.h"
#include "tools/CommandLine.h"
#include "tools/plugin/PluginSettings.h"
#include "tools/program/AutomationPlayer.h"
#include "tools/program/ProgramRender.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

namespace serivane::integration {
namespace {

namespace fs = std::filesystem;

std::vector<std::string> titles(const nlohmann::json& parameters) {
    std::vector<std::string> result;
    for (const auto& p : parameters) result.push_back(p["title"]);
    return result;
}

TEST(PresetCommandLine, RendersByAUniquePartAndRefusesAnAmbiguousOneWithoutAFile) {
    ScratchFolder scratch("serivane-preset-part");
    const fs::path& folder = scratch.path();
    const std::string target = (folder / "take.wav").string();

    Outcome ambiguous = runTool({"render", "--preset", "schumann", "--seconds", "0.1", target});
    EXPECT_EQ(ambiguous.code, 1);
    for (const char* candidate : {"87 \"Psychic - Schumann Resonance (7.83)\"",
                                  "91 \"Psychic - Schumann Resonance (33.8)\""})
        EXPECT_NE(ambiguous.err.find(candidate), std::string::npos) << ambiguous.err;
    EXPECT_TRUE(fs::is_empty(folder));

    Outcome unique = runTool({"render", "--preset", "RESONANCE (7.83", "--seconds", "0.1", target});
    EXPECT_EQ(unique.code, 0) << unique.err;
    EXPECT_TRUE(fs::exists(target));
}

// Minimal sets the tones and the spread, preset 5 the sweep; the settings come last.
TEST(PresetCommandLine, PartialPresetsCombineInOrderBeforeTheSettings) {
    const std::vector<std::string> presets = {"Minimal (lock", "5"};
    const std::vector<tools::Setting> settings = {{"Low Freq", "300"}};
    auto expectCombined = [](const host::Plugin& plugin, const char* path) {
        EXPECT_EQ(plainValue(plugin, "Tones"), 3.0) << path;
        EXPECT_EQ(plainValue(plugin, "Qfreq"), -18.0) << path;
        EXPECT_EQ(plainValue(plugin, "Low Freq"), 300.0) << path;
    };
    std::string error;
    std::unique_ptr<host::Plugin> live = instantiate();
    host::ProcessDriver liveDriver(
        *live, {48000.0, 64, Steinberg::Vst::kSample32, Steinberg::Vst::kRealtime});
    ASSERT_TRUE(liveDriver.start(error)) << error;
    ASSERT_TRUE(tools::applyPresetAndSettings(*live, liveDriver, presets, settings, error))
        << error;
    expectCombined(*live, "play");

    std::unique_ptr<host::Plugin> offline = instantiate();
    tools::StartSettings start;
    ASSERT_TRUE(tools::resolveStart(*offline, presets, settings, start, error)) << error;
    const tools::Automation automation(start);
    host::ProcessDriver driver(*offline,
                               {48000.0, 64, Steinberg::Vst::kSample32, Steinberg::Vst::kOffline});
    ASSERT_TRUE(driver.start(error)) << error;
    tools::AutomationPlayer player(automation);
    Steinberg::int32 frames = 0;
    ASSERT_TRUE(player.prepare(driver, 0, 64, frames));
    ASSERT_TRUE(driver.flush());
    expectCombined(*offline, "render");
}

TEST(PresetCommandLine, InfoShowsWhatAPartialPresetSetsAndWhatItLeavesAlone) {
    Outcome text = runTool({"info", "--preset", "Minimal (lock"});
    ASSERT_EQ(text.code, 0) << text.err;
    EXPECT_EQ(text.out.rfind("Preset 3: Minimal (lock another params)\n", 0), 0u) << text.out;
    for (const char* part : {"Sets 2 of 22 parameters\n  Tones   3\n  Spread  0 %\n",
                             "Leaves 20 parameters as they were set before it\n  Binaural\n"})
        EXPECT_NE(text.out.find(part), std::string::npos) << text.out;

    Outcome json = runTool({"info", "--json", "--preset", "5"});
    ASSERT_EQ(json.code, 0) << json.err;
    nlohmann::json preset = nlohmann::json::parse(json.out);
    EXPECT_EQ(preset["name"], "Descendent frequencies (lock another params)");
    EXPECT_EQ(titles(preset["sets"]), (std::vector<std::string>{"Low Freq", "High Freq", "Qfreq"}));
    EXPECT_EQ(preset["sets"][2]["display"], "-18");
    EXPECT_EQ(preset["sets"][2]["value"], -18.0);
    EXPECT_EQ(preset["leavesAlone"].size(), 19u);
    const std::vector<std::string> alone = titles(preset["leavesAlone"]);
    EXPECT_NE(std::find(alone.begin(), alone.end(), "Play Anyway"), alone.end())
        << "the preset stores it, but does not own it";
}

TEST(PresetCommandLine, InfoShowsAFullPresetSettingEveryParameter) {
    Outcome text = runTool({"info", "--preset", "7.83"});
    ASSERT_EQ(text.code, 0) << text.err;
    for (const char* part :
         {"Preset 87: Psychic - Schumann Resonance (7.83)", "Sets 22 of 22 parameters",
          "  Binaural      7.83 Hz\n", "  Play Anyway   Yes\n", "Leaves no parameter alone"})
        EXPECT_NE(text.out.find(part), std::string::npos) << part << "\n" << text.out;

    nlohmann::json preset =
        nlohmann::json::parse(runTool({"info", "--preset", "87", "--json"}).out);
    EXPECT_EQ(preset["slot"], 87);
    EXPECT_EQ(preset["sets"].size(), 22u);
    EXPECT_TRUE(preset["leavesAlone"].empty());
}

TEST(PresetCommandLine, InfoListsTheTextsOfEveryChoiceParameter) {
    Outcome text = runTool({"info"});
    ASSERT_EQ(text.code, 0) << text.err;
    EXPECT_NE(text.out.find("\nChoices\n  Wave          Sine, Triangle, Saw, Golden Sine, "
                            "Gold. Sine Half, Gold. Triangle, Gold. Square\n"
                            "  Binaural Pan  Left, Null, Right\n"),
              std::string::npos)
        << text.out;

    nlohmann::json info = nlohmann::json::parse(runTool({"info", "--json"}).out);
    for (const auto& p : info["parameters"]) {
        const bool list = (p["flags"].get<int>() & 8) != 0 && p["title"] != "Presets";
        EXPECT_EQ(p["choices"].size(), list ? p["stepCount"].get<std::size_t>() + 1 : 0u)
            << p["title"];
    }
}

TEST(PresetCommandLine, InfoRefusesAPresetItCannotChoose) {
    for (const char* choice : {"schumann", "150", "No Such Preset"}) {
        Outcome failed = runTool({"info", "--preset", choice});
        EXPECT_EQ(failed.code, 1);
        EXPECT_TRUE(failed.out.empty());
        EXPECT_NE(failed.err.find(choice), std::string::npos) << failed.err;
    }
}

} // namespace
} // namespace serivane::integration
