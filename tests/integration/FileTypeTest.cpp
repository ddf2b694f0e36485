// Renders into every file type the extension names, and onto standard output.
#include "ToolRun.h"
#include "tools/CommandLine.h"
#include "tools/analysis/BeatAnalysis.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sndfile.h>

namespace serivane::integration {
namespace {

namespace fs = std::filesystem;

std::string bytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

// Each type is written as its extension asks, read back, and keeps the beat (7.83 Hz).
TEST(FileTypes, EachExtensionWritesItsTypeAndTheBeatSurvivesTheCoding) {
    ScratchFolder scratch("serivane-file-types");
    const struct {
        const char* name;
        int format;
    } types[] = {{"take.flac", SF_FORMAT_FLAC | SF_FORMAT_PCM_24},
                 {"take.OGG", SF_FORMAT_OGG | SF_FORMAT_VORBIS},
                 {"take.opus", SF_FORMAT_OGG | SF_FORMAT_OPUS},
                 {"take.mp3", SF_FORMAT_MPEG | SF_FORMAT_MPEG_LAYER_III}};
    for (const auto& type : types) {
        const std::string path = (scratch.path() / type.name).string();
        Outcome rendered = runTool({"render", "--preset", "87", "--seconds", "6", path});
        ASSERT_EQ(rendered.code, 0) << rendered.err;
        SF_INFO info{};
        SNDFILE* file = sf_open(path.c_str(), SFM_READ, &info);
        ASSERT_NE(file, nullptr) << type.name;
        sf_close(file);
        EXPECT_EQ(info.format, type.format) << type.name;
        tools::BeatAnalysis analysis;
        std::string error;
        ASSERT_TRUE(tools::analyzeSoundFile(path, {}, analysis, error)) << error;
        ASSERT_TRUE(analysis.total.beat.hz) << type.name;
        EXPECT_NEAR(*analysis.total.beat.hz, 7.83, 0.02) << type.name;
    }
}

// "-" streams the WAV a file would hold, byte for byte, and reports on standard error.
TEST(FileTypes, StandardOutputGetsTheSameWavAsAFile) {
    ScratchFolder scratch("serivane-stream");
    const fs::path file = scratch.path() / "take.wav";
    ASSERT_EQ(runTool({"render", "--preset", "87", "--seconds", "0.5", file.string()}).code, 0);
    Outcome streamed = runTool({"render", "--preset", "87", "--seconds", "0.5", "-"});
    ASSERT_EQ(streamed.code, 0) << streamed.err;
    EXPECT_EQ(streamed.out, bytes(file));
    EXPECT_NE(streamed.err.find("to standard output"), std::string::npos) << streamed.err;
    EXPECT_EQ(std::distance(fs::directory_iterator(scratch.path()), {}), 1);
}

} // namespace
} // namespace serivane::integration
