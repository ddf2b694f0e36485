#include "tools/Arguments.h"
#include "tools/CommandLine.h"
#include "tools/Usage.h"

#include <gtest/gtest.h>
#include <sstream>

namespace serivane::tools {
namespace {

TEST(AnalyzeArguments, TheFileAndTheOptionsInAnyOrder) {
    Command command;
    std::string error;
    ASSERT_TRUE(parseCommand(
        {"analyze", "--window=2.5", "take.flac", "--plot", "Take.PNG", "--json"}, command, error))
        << error;
    EXPECT_EQ(command.kind, Command::Kind::Analyze);
    EXPECT_EQ(command.analyze.input, "take.flac");
    EXPECT_EQ(command.analyze.windowSeconds, 2.5);
    EXPECT_EQ(command.analyze.plot, "Take.PNG");
    EXPECT_TRUE(command.analyze.json);

    ASSERT_TRUE(parseCommand({"analyze", "take.wav"}, command, error)) << error;
    EXPECT_EQ(command.analyze.windowSeconds, 0.0) << "chosen from the file's length";
    EXPECT_TRUE(command.analyze.plot.empty());

    ASSERT_TRUE(parseCommand({"render", "--analyze", "out.wav"}, command, error)) << error;
    EXPECT_TRUE(command.render.analyze);
}

TEST(AnalyzeArguments, MisuseIsRefusedWithTheReason) {
    struct Case {
        std::vector<std::string> words;
        const char* reason;
    };
    for (const Case& c : {Case{{"analyze"}, "needs a sound file"},
                          Case{{"analyze", "a.wav", "b.wav"}, "one sound file"},
                          Case{{"analyze", "a.wav", "--window", "0.1"}, "0.25 to 3600"},
                          Case{{"analyze", "a.wav", "--window", "soon"}, "0.25 to 3600"},
                          Case{{"analyze", "a.wav", "--plot", "a.jpg"}, ".png"},
                          Case{{"analyze", "a.wav", "--plot"}, "needs a value"},
                          Case{{"analyze", "a.wav", "--json=yes"}, "takes no value"},
                          Case{{"analyze", "a.wav", "--loud"}, "\"--loud\""},
                          Case{{"render", "--analyze=1", "out.wav"}, "takes no value"},
                          Case{{"render", "--analyze", "--seconds", "0.1", "out.wav"}, "0.25 s"}}) {
        Command command;
        std::string error;
        EXPECT_FALSE(parseCommand(c.words, command, error)) << c.words.back();
        EXPECT_NE(error.find(c.reason), std::string::npos) << error;
    }
}

TEST(AnalyzeArguments, HelpIsListedAndShown) {
    std::ostringstream out, err;
    EXPECT_EQ(runCommandLine({"analyze", "--help"}, Console{out, err, false}), exitOk);
    EXPECT_EQ(out.str(), analyzeUsage());
    EXPECT_NE(std::string(generalUsage()).find("analyze"), std::string::npos);
    EXPECT_NE(std::string(renderUsage()).find("--analyze"), std::string::npos);
}

} // namespace
} // namespace serivane::tools
