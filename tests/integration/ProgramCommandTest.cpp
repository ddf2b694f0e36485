#include "BundleSession.h"
#include "ToolRun.h"

#include "tools/CommandLine.h"
#include "tools/program/BuiltinPrograms.h"
#include "tools/program/ProgramScript.h"
#include "tools/program/ProgramSource.h"
#include "tools/program/SessionControls.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>
#include <sndfile.h>

namespace serivane::tools {

// Test names and failures show a program by its name.
void PrintTo(const BuiltinProgram& program, std::ostream* out) {
    *out << program.name;
}

} // namespace serivane::tools

namespace serivane::integration {
namespace {

namespace fs = std::filesystem;

struct Sound {
    sf_count_t frames = 0;
    double peak = 0.0;
};

Sound readSound(const fs::path& path) {
    SF_INFO info{};
    SNDFILE* file = sf_open(path.c_str(), SFM_READ, &info);
    EXPECT_NE(file, nullptr) << path;
    Sound sound;
    if (file == nullptr) return sound;
    std::vector<float> samples(static_cast<std::size_t>(info.frames * info.channels));
    sf_readf_float(file, samples.data(), info.frames);
    sf_close(file);
    sound.frames = info.frames;
    for (float s : samples) sound.peak = std::max(sound.peak, static_cast<double>(std::abs(s)));
    return sound;
}

class ProgramCommandTest : public ::testing::Test {
protected:
    fs::path write(const std::string& name, const std::string& text) const {
        std::ofstream(folder / name) << text;
        return folder / name;
    }

    ScratchFolder scratch{"serivane-program"};
    const fs::path folder = scratch.path();
};

// Every built-in program opens with what it is for and how many minutes it lasts; at least two
// lay a noise bed under the tones.
TEST_F(ProgramCommandTest, BuiltInProgramsSayWhatTheyAreAndHowLongTheyLast) {
    ASSERT_GE(tools::builtinPrograms().size(), 8u);
    Outcome listing = runTool({"programs"});
    EXPECT_EQ(listing.code, 0) << listing.err;
    int withNoise = 0;
    for (const tools::BuiltinProgram& program : tools::builtinPrograms()) {
        std::string name(program.name);
        EXPECT_NE(listing.out.find(name), std::string::npos) << listing.out;
        Outcome shown = runTool({"programs", name});
        EXPECT_EQ(shown.out, program.text);
        tools::ProgramScript script;
        std::string error;
        ASSERT_TRUE(tools::ProgramScript::parse(program.text, name, script, error)) << error;
        EXPECT_GE(script.length(), 600.0) << name;
        EXPECT_TRUE(program.text.starts_with("# ")) << name;
        std::string minutes = std::to_string(std::lround(script.length() / 60.0)) + " minutes";
        EXPECT_NE(tools::programTitle(program.text).find(minutes), std::string::npos)
            << name << ": " << tools::programTitle(program.text);
        withNoise += std::any_of(
            script.steps().begin(), script.steps().end(), [](const tools::ScriptStep& step) {
                return tools::sessionControlNamed(step.name) == tools::SessionControl::Noise;
            });
    }
    EXPECT_GE(withNoise, 2);
    EXPECT_EQ(runTool({"programs", "no-such-program"}).code, 1);
}

// One test per built-in program, so that the long renders share the cores.
class BuiltInProgramRender : public ProgramCommandTest,
                             public ::testing::WithParamInterface<tools::BuiltinProgram> {};

// The whole program renders to its length and sounds the beat it plans.
TEST_P(BuiltInProgramRender, RendersToItsLengthTheBeatItPlans) {
    const std::string name(GetParam().name);
    tools::ProgramScript script;
    std::string error;
    ASSERT_TRUE(tools::ProgramScript::parse(GetParam().text, name, script, error)) << error;
    // At a low rate to keep the test short.
    fs::path out = folder / (name + ".wav");
    Outcome rendered = runTool(
        {"render", "--program", name, "--sample-rate", "8000", "--format", "pcm16", out.string()});
    EXPECT_EQ(rendered.code, 0) << rendered.err;
    Sound sound = readSound(out);
    EXPECT_EQ(sound.frames, static_cast<sf_count_t>(std::llround(script.length() * 8000.0)));
    EXPECT_GT(sound.peak, 0.01);
    // Windows short enough that a glide stays steady in each; a quick glide may blur the few
    // windows it crosses.
    Outcome analyzed =
        runTool({"analyze", out.string(), "--program", name, "--window", "10", "--json"});
    ASSERT_EQ(analyzed.code, 0) << analyzed.err;
    nlohmann::json report = nlohmann::json::parse(analyzed.out);
    std::size_t onPlan = 0;
    for (const nlohmann::json& window : report["windows"]) {
        const nlohmann::json& off = window["planned"]["deviationHz"];
        onPlan += off.is_number() && std::fabs(double(off)) <= 0.1;
    }
    EXPECT_GE(onPlan, 0.9 * double(report["plan"]["windowsPlanned"]));
}

INSTANTIATE_TEST_SUITE_P(EachProgram, BuiltInProgramRender,
                         ::testing::ValuesIn(tools::builtinPrograms()),
                         [](const ::testing::TestParamInfo<tools::BuiltinProgram>& info) {
                             std::string name(info.param.name);
                             std::replace(name.begin(), name.end(), '-', '_');
                             return name;
                         });

TEST_F(ProgramCommandTest, AProgramSetsTheLengthUnlessSecondsAreGiven) {
    fs::path program = write("short.txt", "# A short glide\n"
                                          "00:00  Binaural = 10 Hz\n"
                                          "00:01  Binaural = 4 Hz over 1s exp\n"
                                          "00:03  end\n");
    fs::path out = folder / "short.wav";
    Outcome full = runTool({"render", "--program", program.string(), out.string()});
    EXPECT_EQ(full.code, 0) << full.err;
    EXPECT_EQ(readSound(out).frames, 3 * 48000);
    Outcome cut =
        runTool({"render", "--program", program.string(), "--seconds", "1", out.string()});
    EXPECT_EQ(cut.code, 0) << cut.err;
    EXPECT_EQ(readSound(out).frames, 48000);
}

TEST_F(ProgramCommandTest, AFaultyProgramWritesNothingAndSaysWhere) {
    struct Case {
        std::string text;
        std::string error;
    };
    fs::path out = folder / "never.wav";
    for (const Case& c : {
             Case{"00:00 Binaural = 10\n\n00:05 Volume = 120\n", "bad.txt:3: \"Volume\" takes"},
             Case{"00:00 Binaural = 10\n00:05 Tones 4\n", "bad.txt:2: expected"},
             Case{"00:00 Binaural = 10\n", "bad.txt: the program lasts 0:00.0"},
             Case{"00:00 Binaural = 10\n00:01 mix level = -20 dB\n00:05 end\n",
                  "bad.txt:2: \"mix level\" sets the level of a --mix recording"},
             Case{"00:00 noise level = -30 dB\n00:01 noise = pink\n00:05 end\n",
                  "bad.txt:1: \"noise level\" sets the level of a noise bed"},
         }) {
        fs::path program = write("bad.txt", c.text);
        Outcome outcome = runTool({"render", "--program", program.string(), out.string()});
        EXPECT_EQ(outcome.code, 1);
        EXPECT_NE(outcome.err.find(c.error), std::string::npos) << outcome.err;
        EXPECT_FALSE(fs::exists(out));
    }
    Outcome missing =
        runTool({"render", "--program", (folder / "none.txt").string(), out.string()});
    EXPECT_NE(missing.err.find("no program file or built-in program"), std::string::npos);
    Outcome folderGiven = runTool({"render", "--program", folder.string(), out.string()});
    EXPECT_NE(folderGiven.err.find("not a program file"), std::string::npos);
    EXPECT_FALSE(fs::exists(out));
}

// The analysis measures the beat of a rendered descent from 10 Hz to 2 Hz over a minute within
// 0.1 Hz of the plan in every 5 s window, and names the window furthest off.
TEST_F(ProgramCommandTest, TheRenderedBeatFollowsTheProgrammedDescent) {
    fs::path program = write("descent.txt", "00:00  Binaural = 10 Hz\n"
                                            "00:00  Binaural = 2 Hz over 60s\n"
                                            "01:00  end\n");
    fs::path out = folder / "descent.wav";
    Outcome rendered = runTool({"render", "--program", program.string(), out.string()});
    ASSERT_EQ(rendered.code, 0) << rendered.err;
    fs::path plot = folder / "descent.png";
    Outcome analyzed = runTool({"analyze", out.string(), "--program", program.string(), "--json",
                                "--plot", plot.string()});
    ASSERT_EQ(analyzed.code, 0) << analyzed.err;
    EXPECT_GT(fs::file_size(plot), 1000u);
    nlohmann::json report = nlohmann::json::parse(analyzed.out);
    ASSERT_EQ(report["windows"].size(), 12u) << analyzed.out;
    double furthest = 0.0;
    for (const nlohmann::json& window : report["windows"]) {
        double start = window["start"];
        // A linear glide's mean over a window is its value at the window's middle.
        double planned = window["planned"]["hz"];
        EXPECT_NEAR(planned, 10.0 - 8.0 * (start + 2.5) / 60.0, 0.01) << "at " << start << " s";
        double measured = window["beat"]["hz"];
        EXPECT_NEAR(measured, planned, 0.1) << "at " << start << " s";
        EXPECT_NEAR(double(window["planned"]["deviationHz"]), measured - planned, 1e-9);
        furthest = std::max(furthest, std::fabs(measured - planned));
    }
    EXPECT_EQ(report["plan"]["program"], program.string());
    EXPECT_EQ(report["plan"]["windowsCompared"], 12);
    EXPECT_EQ(std::fabs(double(report["plan"]["furthest"]["deviationHz"])), furthest);
}

TEST_F(ProgramCommandTest, AnalyzeNamesTheLineOfAFaultyProgramBeforeItMeasures) {
    fs::path out = folder / "short.wav";
    ASSERT_EQ(runTool({"render", "--seconds", "1", out.string()}).code, 0);
    fs::path program = write("bad.txt", "00:00 Binaural = 10\n00:05 Bianural = 4\n");
    Outcome unknown = runTool({"analyze", out.string(), "--program", program.string()});
    EXPECT_EQ(unknown.code, 1);
    EXPECT_NE(unknown.err.find("bad.txt:2: no parameter \"Bianural\""), std::string::npos)
        << unknown.err;
    program = write("bad.txt", "00:00 Binaural = 10\n00:05 Tones 4\n");
    Outcome unparsed =
        runTool({"analyze", (folder / "none.wav").string(), "--program", program.string()});
    EXPECT_EQ(unparsed.code, 1);
    EXPECT_NE(unparsed.err.find("bad.txt:2: expected"), std::string::npos) << unparsed.err;
    EXPECT_EQ(unparsed.out, "");
}

TEST_F(ProgramCommandTest, RenderFadesFitTheProgramsLengthAndItsAnalysisComparesAndDrawsThePlan) {
    fs::path program = write("long.txt", "00:00  Binaural = 6 Hz\n"
                                         "02:00  end\n");
    fs::path out = folder / "long.wav";
    // Longer together than the 60 s a render lasts without a program.
    fs::path plot = folder / "long.png";
    Outcome faded =
        runTool({"render", "--program", program.string(), "--sample-rate", "8000", "--fade-in",
                 "40", "--fade-out", "40", "--analyze", "--plot", plot.string(), out.string()});
    EXPECT_EQ(faded.code, 0) << faded.err;
    EXPECT_GT(fs::file_size(plot), 1000u);
    EXPECT_EQ(readSound(out).frames, 120 * 8000);
    EXPECT_NE(faded.out.find("Plan:       " + program.string() + ", at most 0.0"),
              std::string::npos)
        << faded.out;
    Outcome table = runTool({"analyze", out.string(), "--program", program.string()});
    EXPECT_NE(table.out.find("planned      off\n  0:00-0:05"), std::string::npos) << table.out;
    EXPECT_NE(table.out.find("+6.00 Hz    +0.00\n"), std::string::npos) << table.out;
    Outcome tooLong = runTool({"render", "--program", program.string(), "--fade-in", "80",
                               "--fade-out", "41", (folder / "never.wav").string()});
    EXPECT_EQ(tooLong.code, 1);
    EXPECT_NE(tooLong.err.find("longer than the render (2:00.0)"), std::string::npos)
        << tooLong.err;
    EXPECT_FALSE(fs::exists(folder / "never.wav"));
}

} // namespace
} // namespace serivane::integration
