#include "ToolRun.h"
#include "tools/CommandLine.h"
#include "tools/analysis/BeatAnalysis.h"

#include <algorithm>
#include <filesystem>
#include <gtest/gtest.h>

namespace serivane::integration {
namespace {

namespace fs = std::filesystem;

// The instrument's own renders, measured: every window and the whole file.
class AnalyzeTest : public ::testing::Test {
protected:
    tools::BeatAnalysis renderAndAnalyze(std::vector<std::string> settings, const char* seconds) {
        const std::string path = (folder / "take.wav").string();
        std::vector<std::string> words = {"render", "--seconds", seconds};
        for (const std::string& setting : settings) {
            words.push_back(setting.find('=') == std::string::npos ? "--preset" : "--set");
            words.push_back(setting);
        }
        words.push_back(path);
        Outcome rendered = runTool(words);
        EXPECT_EQ(rendered.code, 0) << rendered.err;
        tools::BeatAnalysis analysis;
        std::string error;
        EXPECT_TRUE(tools::analyzeSoundFile(path, {}, analysis, error)) << error;
        return analysis;
    }

    static void expectBeat(const tools::BeatAnalysis& analysis, double hz) {
        ASSERT_FALSE(analysis.windows.empty());
        for (const tools::SpanMeasure& w : analysis.windows) {
            ASSERT_EQ(w.beat.verdict, tools::BeatVerdict::Beat) << w.start;
            EXPECT_NEAR(*w.beat.hz, hz, 0.01) << "window at " << w.start << " s";
        }
        ASSERT_TRUE(analysis.total.beat.hz);
        EXPECT_NEAR(*analysis.total.beat.hz, hz, 0.01);
    }

    ScratchFolder scratch{"serivane-analyze"};
    const fs::path folder = scratch.path();
};

TEST_F(AnalyzeTest, TheSchumannPresetBeatsAt783HzInEveryWindow) {
    const std::string path = (folder / "schumann.flac").string();
    Outcome outcome = runTool({"render", "--preset", "Psychic - Schumann Resonance (7.83)",
                               "--seconds", "30", "--analyze", path});
    ASSERT_EQ(outcome.code, 0) << outcome.err;
    EXPECT_NE(outcome.out.find("Beat:       +7.83 Hz THETA, right ear higher (in 6 of 6 windows"),
              std::string::npos)
        << outcome.out;
    tools::BeatAnalysis analysis;
    std::string error;
    ASSERT_TRUE(tools::analyzeSoundFile(path, {}, analysis, error)) << error;
    expectBeat(analysis, 7.83);
    // Sixteen sweeping tones of a wave rich in overtones: the carriers move, the beat stays.
    expectBeat(renderAndAnalyze({"Psychic - Schumann Resonance (7.83)", "Tones=16",
                                 "Wave=Gold. Square", "Rate=5"},
                                "15"),
               7.83);
}

TEST_F(AnalyzeTest, FortyHertzWithEitherEarHigher) {
    const std::vector<std::string> forty = {"Binaural=40", "Tones=16", "Low Freq=200",
                                            "High Freq=800", "Play Anyway=Yes"};
    expectBeat(renderAndAnalyze(forty, "15"), 40.0);
    std::vector<std::string> left = forty;
    left.push_back("Binaural Pan=Left");
    const tools::BeatAnalysis a = renderAndAnalyze(left, "15");
    expectBeat(a, -40.0);
    EXPECT_GT(*a.total.left.dominantHz, 200.0);
    std::vector<std::string> null = forty;
    null.push_back("Binaural Pan=Null");
    EXPECT_EQ(renderAndAnalyze(null, "5").total.beat.verdict, tools::BeatVerdict::SameFrequency);
}

TEST_F(AnalyzeTest, TheTableAndThePlotOfARender) {
    const std::string path = (folder / "take.wav").string();
    const std::string plot = (folder / "take.png").string();
    ASSERT_EQ(runTool({"render", "--preset", "Psychic - Schumann Resonance (7.83)", "--seconds",
                       "12", path})
                  .code,
              0);
    Outcome outcome = runTool({"analyze", path, "--window", "4", "--plot", plot});
    ASSERT_EQ(outcome.code, 0) << outcome.err;
    for (const char* part : {"windows of 0:04.0", "0:00-0:04", "0:08-0:12", "+7.83 Hz  THETA",
                             "Left ear:", "Right ear:"})
        EXPECT_NE(outcome.out.find(part), std::string::npos) << part << "\n" << outcome.out;
    EXPECT_GT(fs::file_size(plot), 10000u);
}

TEST_F(AnalyzeTest, APlotThatCannotBeWrittenSaysWhyAndKeepsTheRender) {
    const std::string path = (folder / "take.wav").string();
    const std::string plot = (folder / "missing" / "take.png").string();
    Outcome outcome = runTool({"render", "--seconds", "1", "--analyze", "--plot", plot, path});
    EXPECT_EQ(outcome.code, tools::exitFailure);
    EXPECT_NE(outcome.err.find("cannot write " + plot + ": No such file or directory; the render " +
                               path + " was kept"),
              std::string::npos)
        << outcome.err;
    EXPECT_TRUE(fs::exists(path));
}

} // namespace
} // namespace serivane::integration
