// The command line as the tool reads it: options, defaults and the reasons for refusals.
#include "tools/CommandLine.h"
#include "tools/commands/DevicesCommand.h"
#include "tools/commands/EditCommand.h"
#include "tools/commands/InfoCommand.h"
#include "tools/commands/PlayCommand.h"
#include "tools/commands/RenderCommand.h"
#include "tools/commands/SnapshotCommand.h"

#include <gtest/gtest.h>

namespace serivane::tools {
namespace {

using Request = ParsedCommandLine::Request;

ParsedCommandLine parsed(const std::vector<std::string>& words) {
    try {
        return parseCommandLine(words);
    } catch (const UsageError& error) {
        ADD_FAILURE() << error.what();
        return {};
    }
}

// The options of the command the words run.
template <typename Chosen> auto optionsOf(const std::vector<std::string>& words) {
    ParsedCommandLine line = parsed(words);
    EXPECT_EQ(line.request, Request::Run);
    auto* command = dynamic_cast<Chosen*>(line.command.get());
    EXPECT_NE(command, nullptr);
    return command ? command->options() : decltype(command->options()){};
}

std::string refusal(const std::vector<std::string>& words) {
    try {
        parseCommandLine(words);
        ADD_FAILURE() << "accepted: " << (words.empty() ? "nothing" : words.back());
    } catch (const UsageError& error) {
        return error.what();
    }
    return {};
}

// Whether the words ask for the help of the named command.
bool asksForHelpOf(const std::vector<std::string>& words, std::string_view command) {
    ParsedCommandLine line = parsed(words);
    return line.request == Request::Help && line.command && line.command->name() == command;
}

TEST(Arguments, RenderDefaults) {
    RenderOptions o = optionsOf<RenderCommand>({"render", "out.wav"});
    EXPECT_EQ(o.output, "out.wav");
    EXPECT_EQ(o.fileType, FileType::Wav);
    EXPECT_EQ(o.seconds, 60.0);
    EXPECT_EQ(o.sampleRate, 48000);
    EXPECT_EQ(o.block, 512);
    EXPECT_EQ(o.precision, 32);
    EXPECT_EQ(o.format, SampleFormat::Pcm24);
    EXPECT_TRUE(o.presets.empty());
    EXPECT_TRUE(o.bundle.empty());
}

TEST(Arguments, SecondsGoUpToADayExactly) {
    EXPECT_EQ(optionsOf<RenderCommand>({"render", "--seconds", "86400", "a.wav"}).seconds, 86400.0);
    EXPECT_NE(refusal({"render", "--seconds", "86400.01", "a.wav"}).find("at most 86400"),
              std::string::npos);
}

TEST(Arguments, RenderOptionsTakeSeparateOrJoinedValuesInAnyOrder) {
    RenderOptions o = optionsOf<RenderCommand>(
        {"render", "--seconds=2.5", "--sample-rate", "44100", "--block=64", "--precision", "64",
         "--format=pcm16", "--preset", "Minimal (lock another params)", "--set",
         " Wave = Gold. Square ", "--preset=5", "--set=Binaural=7.83", "--bundle=/b.vst3",
         "Take.FLAC"});
    EXPECT_EQ(o.seconds, 2.5);
    EXPECT_EQ(o.sampleRate, 44100);
    EXPECT_EQ(o.block, 64);
    EXPECT_EQ(o.precision, 64);
    EXPECT_EQ(o.format, SampleFormat::Pcm16);
    EXPECT_EQ(o.presets, (std::vector<std::string>{"Minimal (lock another params)", "5"}));
    using Settings = std::vector<std::pair<std::string, std::string>>;
    EXPECT_EQ(o.settings, (Settings{{"Wave", "Gold. Square"}, {"Binaural", "7.83"}}));
    EXPECT_EQ(o.bundle, "/b.vst3");
    EXPECT_EQ(o.output, "Take.FLAC");
    EXPECT_EQ(o.fileType, FileType::Flac);
    EXPECT_EQ(optionsOf<RenderCommand>({"render", "--", "-odd.wav"}).output, "-odd.wav")
        << "after \"--\" a word is a file name";
    o = optionsOf<RenderCommand>({"render", "--quality", "0.25", "--sample-rate=44100", "a.Mp3"});
    EXPECT_EQ(o.fileType, FileType::Mp3);
    EXPECT_EQ(o.quality, 0.25);
    EXPECT_TRUE(optionsOf<RenderCommand>({"render", "-"}).toStandardOutput);
}

TEST(Arguments, SessionFadesAndMix) {
    SessionOptions plain = optionsOf<RenderCommand>({"render", "out.wav"}).session;
    EXPECT_EQ(plain.fadeIn, 0.0);
    EXPECT_EQ(plain.fadeOut, 0.0);
    EXPECT_TRUE(plain.mix.empty());
    EXPECT_EQ(plain.mixLevel, -12.0);
    SessionOptions o =
        optionsOf<RenderCommand>({"render", "--seconds", "10", "--fade-in=2.5", "--fade-out", "7.5",
                                  "--mix", "rain.ogg", "--mix-level=-20", "out.wav"})
            .session;
    EXPECT_EQ(o.fadeIn, 2.5);
    EXPECT_EQ(o.fadeOut, 7.5);
    EXPECT_EQ(o.mix, "rain.ogg");
    EXPECT_EQ(o.mixLevel, -20.0);
    // Fades that fill the render exactly, counted in frames as the render counts them.
    EXPECT_EQ(optionsOf<RenderCommand>(
                  {"render", "--seconds", "0.3", "--fade-in", "0.1", "--fade-out", "0.2", "a.wav"})
                  .session.fadeOut,
              0.2);
    EXPECT_EQ(optionsOf<RenderCommand>({"render", "--seconds", "1", "--fade-in", "1", "a.wav"})
                  .session.fadeIn,
              1.0);
}

TEST(Arguments, BadRenderArgumentsAreRefusedWithTheReason) {
    struct Case {
        std::vector<std::string> words;
        const char* reason;
    };
    const std::vector<Case> cases = {
        {{"render"}, "output file"},
        {{"render", "out.aiff"}, "must end in .wav, .flac, .ogg, .opus or .mp3, or be -"},
        {{"render", "a.ogg", "--format", "pcm16"}, "Ogg Vorbis is coded: give --quality"},
        {{"render", "a.flac", "--quality", "0.5"}, "--quality sets the coding"},
        {{"render", "a.mp3", "--quality", "1.5"}, "--quality takes a number from 0 to 1"},
        {{"render", "a.opus", "--sample-rate", "44100"}, "Opus takes 8000, 12000"},
        {{"render", "--analyze", "-"}, "--analyze measures a written file"},
        {{"render", "a.wav", "b.wav"}, "one output file"},
        {{"render", "a.flac", "--format", "float"}, "FLAC"},
        {{"render", "a.wav", "--format", "pcm8"}, "--format"},
        {{"render", "a.wav", "--seconds", "0"}, "--seconds"},
        {{"render", "a.wav", "--seconds", "-3"}, "--seconds"},
        {{"render", "a.wav", "--seconds", "nan"}, "--seconds"},
        {{"render", "a.wav", "--seconds", "1e9"}, "--seconds"},
        {{"render", "a.wav", "--seconds", "10s"}, "--seconds"},
        {{"render", "a.wav", "--sample-rate", "100"}, "--sample-rate"},
        {{"render", "a.wav", "--sample-rate", "44100.5"}, "--sample-rate"},
        {{"render", "a.wav", "--block", "0"}, "--block"},
        {{"render", "a.wav", "--precision", "16"}, "--precision"},
        {{"render", "a.wav", "--set", "Binaural"}, "--set"},
        {{"render", "a.wav", "--set", "=3"}, "--set"},
        {{"render", "a.wav", "--seconds"}, "--seconds needs a value"},
        {{"render", "a.wav", "--seconds=3", "--seconds", "3"},
         "--seconds is given twice (\"3\" and \"3\"): give it once"},
        {{"render", "a.wav", "--program", "a.txt", "--program=b.txt"}, "--program is given twice"},
        {{"render", "a.wav", "--mix", "r.wav", "--mix", "s.wav"}, "--mix is given twice"},
        {{"info", "--preset", "3", "--preset", "5"}, "--preset is given twice"},
        {{"render", "a.wav", "--preset", ""}, "--preset needs a value, not an empty"},
        {{"render", "--bundle=", "a.wav"}, "--bundle needs a value, not an empty"},
        {{"info", "--bundle", ""}, "--bundle needs a value, not an empty"},
        {{"render", "a.wav", "--loud"}, "--loud"},
        {{"render", "a.wav", "--fade-in", "-1"}, "--fade-in takes seconds"},
        {{"render", "a.wav", "--fade-out", "soon"}, "--fade-out takes seconds"},
        {{"render", "a.wav", "--seconds", "1", "--fade-in", "1.01"}, "longer than the render"},
        {{"render", "a.wav", "--seconds", "2", "--fade-in", "1", "--fade-out", "1.001"},
         "longer than the render"},
        {{"render", "a.wav", "--fade-out", "61"}, "longer than the render"},
        {{"render", "a.wav", "--mix", ""}, "--mix needs a value"},
        {{"render", "a.wav", "--mix", "r.wav", "--mix-level", "30"}, "--mix-level takes"},
        {{"render", "a.wav", "--mix", "r.wav", "--mix-level", "-inf"}, "--mix-level takes"},
        {{"render", "a.wav", "--mix-level", "-6"}, "--mix FILE"},
        {{"info", "--verbose"}, "--verbose"},
        {{"info", "--json=yes"}, "--json"},
        {{"listen"}, "unknown command \"listen\""},
        {{"json"}, "unknown command \"json\""},
        {{"--json", "info"}, "unknown command \"--json\""},
        {{"render", "a.wav", "-loud"}, "render does not take \"-loud\""},
        {{"render", "a.wav", "--", "b.wav"}, "one output file, not both \"a.wav\" and \"b.wav\""},
        {{}, "missing command"},
    };
    for (const Case& c : cases) {
        std::string error = refusal(c.words);
        EXPECT_NE(error.find(c.reason), std::string::npos) << error;
    }
}

TEST(Arguments, SnapshotOptions) {
    SnapshotOptions o =
        optionsOf<SnapshotCommand>({"snapshot", "--seconds=2.5", "shot.PNG", "--preset", "3",
                                    "--set", "Binaural = 7.83", "--bundle", "b.vst3"});
    EXPECT_EQ(o.output, "shot.PNG");
    EXPECT_EQ(o.seconds, 2.5);
    EXPECT_EQ(o.presets, std::vector<std::string>{"3"});
    EXPECT_EQ(o.bundle, "b.vst3");
    ASSERT_EQ(o.settings.size(), 1u);
    EXPECT_EQ(o.settings[0], (std::pair<std::string, std::string>{"Binaural", "7.83"}));
    EXPECT_EQ(optionsOf<SnapshotCommand>({"snapshot", "out.png"}).seconds, 1.0);
    EXPECT_TRUE(asksForHelpOf({"snapshot", "--help"}, "snapshot"));

    EXPECT_NE(refusal({"snapshot"}).find(".png"), std::string::npos);
    EXPECT_NE(refusal({"snapshot", "out.wav"}).find(".png"), std::string::npos);
    EXPECT_NE(refusal({"snapshot", "--seconds", "0", "a.png"}).find("--seconds"),
              std::string::npos);
    EXPECT_NE(refusal({"snapshot", "--seconds", "601", "a.png"}).find("600"), std::string::npos);
    EXPECT_NE(refusal({"snapshot", "--block", "64", "a.png"}).find("--block"), std::string::npos);
    EXPECT_NE(refusal({"snapshot", "a.png", "b.png"}).find("one output"), std::string::npos);
}

TEST(Arguments, SnapshotClicksInOrderAndAStoppedTransport) {
    SnapshotOptions o = optionsOf<SnapshotCommand>(
        {"snapshot", "--stopped", "--right-click", "564, 170", "--click=10,20", "a.png"});
    EXPECT_TRUE(o.stopped);
    ASSERT_EQ(o.clicks.size(), 2u);
    EXPECT_EQ(o.clicks[0].x, 564);
    EXPECT_EQ(o.clicks[0].y, 170);
    EXPECT_TRUE(o.clicks[0].right);
    EXPECT_EQ(o.clicks[1].x, 10);
    EXPECT_FALSE(o.clicks[1].right);
    EXPECT_FALSE(optionsOf<SnapshotCommand>({"snapshot", "a.png"}).stopped);

    for (const char* bad : {"10", "10,", ",5", "-1,5", "5,4096", "a,b", "1.5,2"})
        EXPECT_NE(refusal({"snapshot", "--click", bad, "a.png"}).find("X,Y"), std::string::npos)
            << bad;
    EXPECT_NE(refusal({"snapshot", "--stopped=yes", "a.png"}).find("no value"), std::string::npos);
}

TEST(Arguments, PlayAndDevicesOptions) {
    PlayOptions o =
        optionsOf<PlayCommand>({"play", "--preset", "87", "--set", "Tones=3", "--seconds=2.5",
                                "--device", "system", "--bundle", "b.vst3"});
    EXPECT_EQ(o.presets, std::vector<std::string>{"87"});
    EXPECT_EQ(o.seconds, 2.5);
    EXPECT_EQ(o.device, "system");
    EXPECT_EQ(o.bundle, "b.vst3");
    ASSERT_EQ(o.settings.size(), 1u);
    EXPECT_EQ(optionsOf<PlayCommand>({"play"}).seconds, 0.0) << "plays until stopped";
    EXPECT_EQ(optionsOf<EditCommand>({"edit", "--device", "3"}).device, "3");
    ParsedCommandLine devices = parsed({"devices"});
    EXPECT_EQ(devices.request, Request::Run);
    EXPECT_NE(dynamic_cast<DevicesCommand*>(devices.command.get()), nullptr);
    EXPECT_TRUE(asksForHelpOf({"devices", "--help"}, "devices"));
    EXPECT_NE(refusal({"play", "--seconds", "0"}).find("--seconds"), std::string::npos);
    EXPECT_NE(refusal({"play", "--device"}).find("--device needs a value"), std::string::npos);
    EXPECT_NE(refusal({"play", "out.wav"}).find("out.wav"), std::string::npos);
    EXPECT_NE(refusal({"devices", "--json"}).find("--json"), std::string::npos);
}

TEST(Arguments, PlayTakesAProgramAndTheSessionOptions) {
    PlayOptions o = optionsOf<PlayCommand>({"play", "--program", "sleep-descent", "--fade-in", "30",
                                            "--fade-out=60", "--mix", "rain.flac"});
    EXPECT_EQ(o.program, "sleep-descent");
    EXPECT_FALSE(o.secondsGiven) << "the program's length";
    EXPECT_EQ(o.session.fadeIn, 30.0);
    EXPECT_EQ(o.session.fadeOut, 60.0);
    EXPECT_EQ(o.session.mix, "rain.flac");
    EXPECT_TRUE(optionsOf<PlayCommand>({"play", "--seconds", "5", "--fade-out", "1"}).secondsGiven);
    EXPECT_EQ(optionsOf<PlayCommand>({"play", "--fade-in", "5"}).session.fadeIn, 5.0)
        << "a fade-in needs no end";
    EXPECT_NE(refusal({"play", "--fade-out", "5"}).find("--fade-out needs --seconds or --program"),
              std::string::npos);
    EXPECT_NE(refusal({"play", "--seconds", "5", "--fade-in", "3", "--fade-out", "3"})
                  .find("longer than the playback"),
              std::string::npos);
    EXPECT_NE(refusal({"play", "--mix-level", "-6"}).find("--mix FILE"), std::string::npos);
}

TEST(Arguments, EditOptions) {
    EditOptions o = optionsOf<EditCommand>(
        {"edit", "--preset", "Default", "--set", "Tones=16", "--bundle=b.vst3"});
    EXPECT_EQ(o.presets, std::vector<std::string>{"Default"});
    EXPECT_EQ(o.bundle, "b.vst3");
    ASSERT_EQ(o.settings.size(), 1u);
    EXPECT_EQ(o.settings[0], (std::pair<std::string, std::string>{"Tones", "16"}));
    EXPECT_TRUE(asksForHelpOf({"edit", "--help"}, "edit"));
    EXPECT_NE(refusal({"edit", "out.png"}).find("out.png"), std::string::npos);
    EXPECT_NE(refusal({"edit", "--seconds", "2"}).find("--seconds"), std::string::npos);
    EXPECT_NE(refusal({"edit", "--set", "Tones"}).find("--set"), std::string::npos);
}

TEST(Arguments, InfoAndHelp) {
    InfoOptions info = optionsOf<InfoCommand>({"info", "--json", "--bundle", "x.vst3"});
    EXPECT_TRUE(info.json);
    EXPECT_EQ(info.bundle, "x.vst3");
    EXPECT_FALSE(optionsOf<InfoCommand>({"info"}).json);

    for (const auto& words : {std::vector<std::string>{"--help"}, {"-h"}, {"help"}}) {
        ParsedCommandLine general = parsed(words);
        EXPECT_EQ(general.request, Request::Help);
        EXPECT_EQ(general.command, nullptr);
    }
    EXPECT_EQ(parsed({"--version"}).request, Request::Version);
    EXPECT_TRUE(asksForHelpOf({"info", "-h"}, "info"));
    EXPECT_TRUE(asksForHelpOf({"render", "--help"}, "render")) << "help needs no output file";
    EXPECT_NE(refusal({"render", "--help", "--loud"}).find("--loud"), std::string::npos);
}

} // namespace
} // namespace serivane::tools
