// The Windows build of the command-line tool: its parser, the commands that stay on Linux, the
// sound files its libsndfile cannot write, files in folders of any name, and console events.
#include "tools/CommandLine.h"
#include "tools/commands/Interruption.h"
#include "tools/commands/RenderCommand.h"
#include "tools/program/BuiltinPrograms.h"
#include "tools/program/ProgramScript.h"
#include "tools/program/ProgramSource.h"
#include "tools/report/PngFile.h"
#include "tools/sound/SoundFileReader.h"
#include "tools/sound/SoundFileWriter.h"
#include "tools/win32/ConsoleEvent.h"

#include <atomic>
#include <chrono>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <optional>
#include <sstream>
#include <thread>

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

TEST(WindowsTool, FilesInAFolderNamedBeyondTheAnsiCodePageAreWrittenReadAndRemoved) {
    namespace fs = std::filesystem;
    const fs::path folder = fs::temp_directory_path() / u8"serivane-Jürgen-Ωμέγα";
    fs::remove_all(folder);
    fs::create_directories(folder);
    const std::string wav = (folder / "tones.wav").string(), png = (folder / "editor.png").string();
    std::string error;
    {
        SoundFileWriter abandoned;
        ASSERT_TRUE(abandoned.open(wav, FileType::Wav, SampleFormat::Float, 48000, 2, 4, error))
            << error;
    }
    EXPECT_TRUE(fs::is_empty(folder)) << "the partial file of a failed render goes";
    SoundFileWriter writer;
    const float frames[8] = {0.5f, -0.5f, 0.25f, -0.25f, 0.0f, 0.0f, 0.125f, -0.125f};
    ASSERT_TRUE(writer.open(wav, FileType::Wav, SampleFormat::Float, 48000, 2, 4, error)) << error;
    ASSERT_TRUE(writer.write(frames, 4, error) && writer.commit(error)) << error;
    SoundBuffer recording;
    EXPECT_TRUE(readRecording(wav, recording, error)) << error;
    EXPECT_EQ(recording.samples.size(), 8u);
    EXPECT_TRUE(SoundFileReader().open(wav, error)) << error;
    EXPECT_TRUE(writePng(png, 1, 1, {0xFF336699u}, error)) << error;
    const std::string program = (folder / "descent.txt").string();
    std::ofstream(folder / "descent.txt") << builtinPrograms().front().text;
    ProgramScript script;
    EXPECT_TRUE(loadProgram(program, script, error)) << error;
    EXPECT_EQ(script.file(), program);
    fs::remove_all(folder);
}

TEST(WindowsTool, AConsoleCloseWaitsForTheInterruptedJobToCleanUp) {
    using namespace std::chrono_literals;
    std::optional<InterruptionGuard> guard(std::in_place);
    std::atomic<bool> answered{false};
    std::thread console([&] {
        answerConsoleEvent(CTRL_CLOSE_EVENT);
        answered = true;
    });
    for (int waited = 0; guard->caught() == 0 && waited < 2000; ++waited)
        std::this_thread::sleep_for(1ms);
    EXPECT_EQ(guard->caught(), SIGTERM);
    std::this_thread::sleep_for(300ms);
    EXPECT_FALSE(answered) << "Windows ends the process once the handler returns";
    guard.reset();
    console.join();
    EXPECT_TRUE(answered);
    // Ctrl+C only asks: the job goes on.
    InterruptionGuard next;
    EXPECT_TRUE(answerConsoleEvent(CTRL_C_EVENT));
    EXPECT_EQ(next.caught(), SIGINT);
}

} // namespace
} // namespace serivane::tools
