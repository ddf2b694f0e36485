#include "tools/Arguments.h"

#include <gtest/gtest.h>

namespace serivane::tools {
namespace {

Command parsed(const std::vector<std::string>& words) {
    Command command;
    std::string error;
    EXPECT_TRUE(parseCommand(words, command, error)) << error;
    return command;
}

std::string refusal(const std::vector<std::string>& words) {
    Command command;
    std::string error;
    EXPECT_FALSE(parseCommand(words, command, error)) << "accepted: " << words.back();
    return error;
}

TEST(Arguments, RenderDefaults) {
    RenderOptions o = parsed({"render", "out.wav"}).render;
    EXPECT_EQ(o.output, "out.wav");
    EXPECT_EQ(o.fileType, FileType::Wav);
    EXPECT_EQ(o.seconds, 60.0);
    EXPECT_EQ(o.sampleRate, 48000);
    EXPECT_EQ(o.block, 512);
    EXPECT_EQ(o.precision, 32);
    EXPECT_EQ(o.format, SampleFormat::Pcm24);
    EXPECT_TRUE(o.preset.empty());
    EXPECT_TRUE(o.bundle.empty());
}

TEST(Arguments, RenderOptionsTakeSeparateOrJoinedValuesInAnyOrder) {
    RenderOptions o =
        parsed({"render", "--seconds=2.5", "--sample-rate", "44100", "--block=64", "--precision",
                "64", "--format=pcm16", "--preset", "Minimal (lock another params)", "--set",
                " Wave = Gold. Square ", "--set=Binaural=7.83", "--bundle=/b.vst3", "Take.FLAC"})
            .render;
    EXPECT_EQ(o.seconds, 2.5);
    EXPECT_EQ(o.sampleRate, 44100);
    EXPECT_EQ(o.block, 64);
    EXPECT_EQ(o.precision, 64);
    EXPECT_EQ(o.format, SampleFormat::Pcm16);
    EXPECT_EQ(o.preset, "Minimal (lock another params)");
    using Settings = std::vector<std::pair<std::string, std::string>>;
    EXPECT_EQ(o.settings, (Settings{{"Wave", "Gold. Square"}, {"Binaural", "7.83"}}));
    EXPECT_EQ(o.bundle, "/b.vst3");
    EXPECT_EQ(o.output, "Take.FLAC");
    EXPECT_EQ(o.fileType, FileType::Flac);
}

TEST(Arguments, SessionFadesAndMix) {
    RenderOptions plain = parsed({"render", "out.wav"}).render;
    EXPECT_EQ(plain.fadeIn, 0.0);
    EXPECT_EQ(plain.fadeOut, 0.0);
    EXPECT_TRUE(plain.mix.empty());
    EXPECT_EQ(plain.mixLevel, -12.0);
    RenderOptions o = parsed({"render", "--seconds", "10", "--fade-in=2.5", "--fade-out", "7.5",
                              "--mix", "rain.ogg", "--mix-level=-20", "out.wav"})
                          .render;
    EXPECT_EQ(o.fadeIn, 2.5);
    EXPECT_EQ(o.fadeOut, 7.5);
    EXPECT_EQ(o.mix, "rain.ogg");
    EXPECT_EQ(o.mixLevel, -20.0);
    // Fades that fill the render exactly, counted in frames as the render counts them.
    EXPECT_EQ(
        parsed({"render", "--seconds", "0.3", "--fade-in", "0.1", "--fade-out", "0.2", "a.wav"})
            .render.fadeOut,
        0.2);
    EXPECT_EQ(parsed({"render", "--seconds", "1", "--fade-in", "1", "a.wav"}).render.fadeIn, 1.0);
}

TEST(Arguments, BadRenderArgumentsAreRefusedWithTheReason) {
    struct Case {
        std::vector<std::string> words;
        const char* reason;
    };
    const std::vector<Case> cases = {
        {{"render"}, "output file"},
        {{"render", "out.mp3"}, ".wav or .flac"},
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
        {{"render", "a.wav", "--seconds"}, "needs a value"},
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
        {{"play"}, "unknown command"},
        {{}, "missing command"},
    };
    for (const Case& c : cases) {
        std::string error = refusal(c.words);
        EXPECT_NE(error.find(c.reason), std::string::npos) << error;
    }
}

TEST(Arguments, SnapshotOptions) {
    Command command = parsed({"snapshot", "--seconds=2.5", "shot.PNG", "--preset", "3", "--set",
                              "Binaural = 7.83", "--bundle", "b.vst3"});
    EXPECT_EQ(command.kind, Command::Kind::Snapshot);
    const SnapshotOptions& o = command.snapshot;
    EXPECT_EQ(o.output, "shot.PNG");
    EXPECT_EQ(o.seconds, 2.5);
    EXPECT_EQ(o.preset, "3");
    EXPECT_EQ(o.bundle, "b.vst3");
    ASSERT_EQ(o.settings.size(), 1u);
    EXPECT_EQ(o.settings[0], (std::pair<std::string, std::string>{"Binaural", "7.83"}));
    EXPECT_EQ(parsed({"snapshot", "out.png"}).snapshot.seconds, 1.0);
    EXPECT_TRUE(parsed({"snapshot", "--help"}).snapshot.help);

    EXPECT_NE(refusal({"snapshot"}).find(".png"), std::string::npos);
    EXPECT_NE(refusal({"snapshot", "out.wav"}).find(".png"), std::string::npos);
    EXPECT_NE(refusal({"snapshot", "--seconds", "0", "a.png"}).find("--seconds"),
              std::string::npos);
    EXPECT_NE(refusal({"snapshot", "--seconds", "601", "a.png"}).find("600"), std::string::npos);
    EXPECT_NE(refusal({"snapshot", "--block", "64", "a.png"}).find("--block"), std::string::npos);
    EXPECT_NE(refusal({"snapshot", "a.png", "b.png"}).find("one output"), std::string::npos);
}

TEST(Arguments, SnapshotClicksInOrderAndAStoppedTransport) {
    Command command =
        parsed({"snapshot", "--stopped", "--right-click", "564, 170", "--click=10,20", "a.png"});
    const SnapshotOptions& o = command.snapshot;
    EXPECT_TRUE(o.stopped);
    ASSERT_EQ(o.clicks.size(), 2u);
    EXPECT_EQ(o.clicks[0].x, 564);
    EXPECT_EQ(o.clicks[0].y, 170);
    EXPECT_TRUE(o.clicks[0].right);
    EXPECT_EQ(o.clicks[1].x, 10);
    EXPECT_FALSE(o.clicks[1].right);
    EXPECT_FALSE(parsed({"snapshot", "a.png"}).snapshot.stopped);

    for (const char* bad : {"10", "10,", ",5", "-1,5", "5,4096", "a,b", "1.5,2"})
        EXPECT_NE(refusal({"snapshot", "--click", bad, "a.png"}).find("X,Y"), std::string::npos)
            << bad;
    EXPECT_NE(refusal({"snapshot", "--stopped=yes", "a.png"}).find("no value"), std::string::npos);
}

TEST(Arguments, EditOptions) {
    Command command =
        parsed({"edit", "--preset", "Default", "--set", "Tones=16", "--bundle=b.vst3"});
    EXPECT_EQ(command.kind, Command::Kind::Edit);
    EXPECT_EQ(command.edit.preset, "Default");
    EXPECT_EQ(command.edit.bundle, "b.vst3");
    ASSERT_EQ(command.edit.settings.size(), 1u);
    EXPECT_EQ(command.edit.settings[0], (std::pair<std::string, std::string>{"Tones", "16"}));
    EXPECT_TRUE(parsed({"edit", "--help"}).edit.help);
    EXPECT_NE(refusal({"edit", "out.png"}).find("out.png"), std::string::npos);
    EXPECT_NE(refusal({"edit", "--seconds", "2"}).find("--seconds"), std::string::npos);
    EXPECT_NE(refusal({"edit", "--set", "Tones"}).find("--set"), std::string::npos);
}

TEST(Arguments, InfoAndHelp) {
    Command info = parsed({"info", "--json", "--bundle", "x.vst3"});
    EXPECT_EQ(info.kind, Command::Kind::Info);
    EXPECT_TRUE(info.info.json);
    EXPECT_EQ(info.info.bundle, "x.vst3");

    EXPECT_EQ(parsed({"--help"}).kind, Command::Kind::Help);
    EXPECT_TRUE(parsed({"info", "-h"}).info.help);
    Command renderHelp = parsed({"render", "--help"});
    EXPECT_EQ(renderHelp.kind, Command::Kind::Render);
    EXPECT_TRUE(renderHelp.render.help) << "help needs no output file";
}

} // namespace
} // namespace serivane::tools
