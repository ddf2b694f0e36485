#include "BundleSession.h"
#include "ToolRun.h"

#include "tools/CommandLine.h"
#include "tools/program/Automation.h"
#include "tools/program/BuiltinPrograms.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sndfile.h>

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

TEST_F(ProgramCommandTest, BuiltInProgramsPlanEveryStepAndRender) {
    ASSERT_GE(tools::builtinPrograms().size(), 3u);
    Outcome listing = runTool({"programs"});
    EXPECT_EQ(listing.code, 0) << listing.err;
    for (const tools::BuiltinProgram& program : tools::builtinPrograms()) {
        std::string name(program.name);
        EXPECT_NE(listing.out.find(name), std::string::npos) << listing.out;
        Outcome shown = runTool({"programs", name});
        EXPECT_EQ(shown.out, program.text);
        // The whole program meets the plug-in; the render then plays its start.
        tools::ProgramScript script;
        std::string error;
        ASSERT_TRUE(tools::ProgramScript::parse(program.text, name, script, error)) << error;
        EXPECT_GE(script.length(), 600.0) << name;
        EXPECT_TRUE(tools::Automation::build(bundle(), {}, script, 8000.0, error)) << error;
        fs::path out = folder / (name + ".wav");
        Outcome rendered = runTool(
            {"render", "--program", name, "--seconds", "2", "--sample-rate", "8000", out.string()});
        EXPECT_EQ(rendered.code, 0) << rendered.err;
        Sound sound = readSound(out);
        EXPECT_EQ(sound.frames, 16000) << name;
        EXPECT_GT(sound.peak, 0.01) << name;
    }
    EXPECT_EQ(runTool({"programs", "no-such-program"}).code, 1);
}

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
             Case{"00:00 Binaural = 10\n", "bad.txt: the program lasts 0 s"},
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

} // namespace
} // namespace serivane::integration
