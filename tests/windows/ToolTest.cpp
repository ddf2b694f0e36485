// The Windows build of the command-line tool: its parser, the commands that stay on Linux and
// the sound files its libsndfile cannot write.
#include "tools/CommandLine.h"
#include "tools/RenderCommand.h"
#include "tools/SoundFileWriter.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <sstream>

namespace serivane::tools {
namespace {

TEST(WindowsTool, PathsStartingWithASlashAreFilesNotOptions) {
    ParsedCommandLine parsed =
        parseCommandLine({"render", "--mix", "/tmp/rain.wav", "/tmp/out.wav"});
    ASSERT_EQ(parsed.request, ParsedCommandLine::Request::Run);
    const auto& render = dynamic_cast<const RenderCommand&>(*parsed.command);
    EXPECT_EQ(render.options().output, "/tmp/out.wav");
    EXPECT_THROW(parseCommandLine({"render", "/tmp/a.wav", "/tmp/b.wav"}), UsageError);
}

TEST(WindowsTool, LiveSoundCommandsFailWithTheirReasonAfterReadingTheirOptions) {
    for (std::vector<std::string> words :
         {std::vector<std::string>{"play", "--seconds", "5", "--device", "1"},
          std::vector<std::string>{"devices"}, std::vector<std::string>{"edit", "--preset", "3"}}) {
        std::ostringstream out, err;
        EXPECT_EQ(runCommandLine(words, {out, err}), exitFailure) << words[0];
        EXPECT_NE(err.str().find("only in the Linux build"), std::string::npos) << err.str();
        EXPECT_TRUE(out.str().empty());
    }
    std::ostringstream out, err;
    EXPECT_EQ(runCommandLine({"play", "--loudness", "9"}, {out, err}), exitUsage);
}

TEST(WindowsTool, FlacIsRefusedBeforeAnyFileIsMade) {
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / "serivane-windows-tool";
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    {
        SoundFileWriter writer;
        std::string error;
        EXPECT_FALSE(writer.open((folder / "out.flac").string(), FileType::Flac,
                                 SampleFormat::Pcm16, 48000, 2, 48000, error));
        EXPECT_NE(error.find("writes no FLAC files"), std::string::npos) << error;
        EXPECT_TRUE(std::filesystem::is_empty(folder));
        // WAV is written, and an unfinished file goes with the writer.
        EXPECT_TRUE(writer.open((folder / "out.wav").string(), FileType::Wav, SampleFormat::Pcm16,
                                48000, 2, 4, error))
            << error;
    }
    EXPECT_TRUE(std::filesystem::is_empty(folder));
    std::filesystem::remove_all(folder);
}

} // namespace
} // namespace serivane::tools
