#include "tools/CommandLine.h"
#include "tools/commands/AnalyzeCommand.h"
#include "tools/commands/RenderCommand.h"

#include <gtest/gtest.h>
#include <sstream>

namespace serivane::tools {
namespace {

// The options of the command the words run.
template <typename Chosen> auto optionsOf(const std::vector<std::string>& words) {
    ParsedCommandLine line;
    try {
        line = parseCommandLine(words);
    } catch (const UsageError& error) {
        ADD_FAILURE() << error.what();
    }
    EXPECT_EQ(line.request, ParsedCommandLine::Request::Run);
    auto* command = dynamic_cast<Chosen*>(line.command.get());
    EXPECT_NE(command, nullptr);
    return command ? command->options() : decltype(command->options()){};
}

TEST(AnalyzeArguments, TheFileAndTheOptionsInAnyOrder) {
    AnalyzeOptions o = optionsOf<AnalyzeCommand>(
        {"analyze", "--window=2.5", "take.flac", "--plot", "Take.PNG", "--json"});
    EXPECT_EQ(o.input, "take.flac");
    EXPECT_EQ(o.windowSeconds, 2.5);
    EXPECT_EQ(o.plot, "Take.PNG");
    EXPECT_TRUE(o.json);

    o = optionsOf<AnalyzeCommand>({"analyze", "take.wav"});
    EXPECT_EQ(o.windowSeconds, 0.0) << "chosen from the file's length";
    EXPECT_TRUE(o.plot.empty());

    EXPECT_TRUE(optionsOf<RenderCommand>({"render", "--analyze", "out.wav"}).analyze);
    EXPECT_EQ(optionsOf<RenderCommand>({"render", "--analyze", "--plot", "p.png", "out.wav"}).plot,
              "p.png");

    o = optionsOf<AnalyzeCommand>({"analyze", "take.wav", "--program", "descent.txt", "--preset",
                                   "87", "--set", "Volume=30", "--bundle", "b.vst3"});
    EXPECT_EQ(o.plan.program, "descent.txt");
    EXPECT_EQ(o.plan.presets, std::vector<std::string>{"87"});
    ASSERT_EQ(o.plan.settings.size(), 1u);
    EXPECT_EQ(o.plan.settings[0].first, "Volume");
    EXPECT_EQ(o.plan.bundle, "b.vst3");
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
                          Case{{"analyze", "a.wav", "--preset", "87"}, "give one"},
                          Case{{"analyze", "a.wav", "--set", "Volume=3"}, "start of a --program"},
                          Case{{"render", "--analyze=1", "out.wav"}, "takes no value"},
                          Case{{"render", "--plot", "p.png", "out.wav"}, "give --analyze too"},
                          Case{{"render", "--analyze", "--plot", "p.svg", "out.wav"}, ".png"},
                          Case{{"render", "--analyze", "--seconds", "0.1", "out.wav"}, "0.25 s"}}) {
        std::string error;
        try {
            parseCommandLine(c.words);
            ADD_FAILURE() << "accepted: " << c.words.back();
        } catch (const UsageError& refusal) {
            error = refusal.what();
        }
        EXPECT_NE(error.find(c.reason), std::string::npos) << error;
    }
}

TEST(AnalyzeArguments, HelpIsListedAndShown) {
    std::ostringstream out, err;
    EXPECT_EQ(runCommandLine({"analyze", "--help"}, Console{out, err, false}), exitOk);
    EXPECT_EQ(out.str(), AnalyzeCommand().usage());
    EXPECT_NE(generalUsage().find("analyze"), std::string::npos);
    EXPECT_NE(RenderCommand().usage().find("--analyze"), std::string::npos);
}

} // namespace
} // namespace serivane::tools
