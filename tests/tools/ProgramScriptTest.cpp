#include "tools/program/ProgramScript.h"
#include "tools/program/ProgramGuide.h"
#include "tools/program/ProgramSource.h"
#include "tools/program/ProgramTime.h"

#include <gtest/gtest.h>

namespace serivane::tools {
namespace {

ProgramScript parsed(const std::string& text) {
    ProgramScript script;
    std::string error;
    EXPECT_TRUE(ProgramScript::parse(text, "session.txt", script, error)) << error;
    return script;
}

std::string refusal(const std::string& text) {
    ProgramScript script;
    std::string error;
    EXPECT_FALSE(ProgramScript::parse(text, "session.txt", script, error)) << text;
    return error;
}

TEST(ProgramTime, ClocksAndDurations) {
    EXPECT_EQ(parseClock("05:00"), 300.0);
    EXPECT_EQ(parseClock("1:30.5"), 90.5);
    EXPECT_EQ(parseClock("90:00"), 5400.0);
    EXPECT_EQ(parseClock("1:02:03"), 3723.0);
    for (const char* bad : {"5", "5:7", "1:60", "1:61:00", ":30", "1:30:", "a:10", "1:2:3:4"})
        EXPECT_FALSE(parseClock(bad)) << bad;
    EXPECT_EQ(parseDuration("30s"), 30.0);
    EXPECT_EQ(parseDuration("1m30s"), 90.0);
    EXPECT_EQ(parseDuration("1.5h"), 5400.0);
    EXPECT_EQ(parseDuration("2M"), 120.0);
    for (const char* bad : {"", "30", "s", "30s1m", "1m1m", "5x", "1.2.3s", "-5s"})
        EXPECT_FALSE(parseDuration(bad)) << bad;
    EXPECT_EQ(programClock(75.0), "01:15");
    EXPECT_EQ(programClock(3723.5), "1:02:03.5");
}

TEST(ProgramScript, ReadsStepsCommentsAndTimes) {
    ProgramScript script = parsed("# A short descent\n"
                                  "\n"
                                  "00:00  preset Minimal (lock another params)\r\n"
                                  "00:00  Binaural = 10 Hz        # alpha\n"
                                  "+30s   Binaural = 6 Hz over 1m exp\n"
                                  "  02:00  Wave = Gold. Square\n"
                                  "+1m30s Volume = 20 over 2m linear\n"
                                  "6:00   END\n");
    ASSERT_EQ(script.steps().size(), 6u);
    const auto& s = script.steps();
    EXPECT_EQ(s[0].kind, StepKind::Preset);
    EXPECT_EQ(s[0].name, "Minimal (lock another params)");
    EXPECT_EQ(s[0].line, 3);
    EXPECT_EQ(s[1].kind, StepKind::Set);
    EXPECT_EQ(s[1].name, "Binaural");
    EXPECT_EQ(s[1].value, "10 Hz");
    EXPECT_EQ(s[1].comment, "alpha");
    EXPECT_EQ(s[2].comment, "");
    EXPECT_EQ(s[2].kind, StepKind::Glide);
    EXPECT_EQ(s[2].time, 30.0);
    EXPECT_EQ(s[2].value, "6 Hz");
    EXPECT_EQ(s[2].glideSeconds, 60.0);
    EXPECT_EQ(s[2].shape, GlideShape::Ratio);
    EXPECT_EQ(s[3].value, "Gold. Square");
    EXPECT_EQ(s[4].time, 210.0);
    EXPECT_EQ(s[4].shape, GlideShape::Linear);
    EXPECT_EQ(s[5].kind, StepKind::End);
    EXPECT_EQ(s[5].line, 8);
    EXPECT_EQ(script.length(), 360.0);
    EXPECT_EQ(parsed("00:10 Binaural = 4 over 50s ratio").length(), 60.0);
}

TEST(ProgramScript, EveryMistakeNamesFileLineAndWhatWasExpected) {
    struct Case {
        const char* text;
        const char* error;
    };
    for (const Case& c : {
             Case{"", "session.txt:1: expected at least one step"},
             Case{"# only a comment\n\n", "session.txt:2: expected at least one step"},
             Case{"soon Binaural = 4", "session.txt:1: expected a time such as 05:00"},
             Case{"\n1:75 Binaural = 4", "session.txt:2: expected a time such as"},
             Case{"+5 Binaural = 4", "session.txt:1: expected a time such as"},
             Case{"00:10", "session.txt:1: expected what happens at 00:10"},
             Case{"00:00 Binaural 4 Hz", "session.txt:1: expected \"NAME = VALUE\""},
             Case{"00:00 = 4", "session.txt:1: expected a parameter name before \"=\""},
             Case{"00:00 Binaural =", "session.txt:1: expected a value for \"Binaural\""},
             Case{"00:00 Binaural = over 5s", "session.txt:1: expected a value"},
             Case{"00:00 preset", "session.txt:1: expected a preset name or slot"},
             Case{"00:00 Binaural = 4 over", "session.txt:1: expected a glide length above 0"},
             Case{"00:00 Binaural = 4 over 0s", "session.txt:1: expected a glide length above 0"},
             Case{"00:00 Binaural = 4 over soon", "found \"soon\""},
             Case{"00:00 Binaural = 4 over 5s smooth",
                  "session.txt:1: expected \"linear\", \"exp\" or \"ratio\""},
             Case{"00:00 Binaural = 4 over 5s exp now", "expected the end of the step"},
             Case{"02:00 Binaural = 4\n01:00 Volume = 3",
                  "session.txt:2: 01:00 comes before 02:00 of line 1: steps go in time order"},
             Case{"00:00 Binaural = 4 over 1m\n00:30 binaural = 8",
                  "session.txt:2: the glide of \"Binaural\" from line 1 runs until 01:00"},
             Case{"00:00 Binaural = 4 over 1m\n00:30 preset 3", "session.txt:2: the glide"},
             Case{"00:00 Binaural = 4 over 1m\n00:30 end", "session.txt:2: the glide"},
             Case{"00:10 end\n00:20 Volume = 3", "session.txt:2: nothing may follow \"end\""},
             Case{"24:00:01 Volume = 3", "is past the longest program"},
             Case{"23:59:00 Volume = 3 over 2m", "the glide ends past the longest program"},
         }) {
        std::string error = refusal(c.text);
        EXPECT_NE(error.find(c.error), std::string::npos) << c.text << "\n" << error;
    }
}

TEST(ProgramScript, ABuiltInProgramGoesByItsName) {
    ProgramScript script;
    std::string error;
    ASSERT_TRUE(loadProgram("Sleep-Descent", script, error)) << error;
    EXPECT_EQ(script.file(), "sleep-descent") << "not a file of that name";
}

TEST(ProgramScript, OtherParametersMayChangeDuringAGlide) {
    ProgramScript script = parsed("00:00 Binaural = 4 over 1m\n"
                                  "00:30 Volume = 30\n"
                                  "01:00 Binaural = 8\n");
    EXPECT_EQ(script.steps().size(), 3u);
    EXPECT_EQ(script.length(), 60.0);
}

TEST(ProgramGuide, CountsTheStepsByTimeAndNamesTheNextChange) {
    ProgramScript script =
        parsed("00:00 Binaural = 10 Hz   # alpha\n"
               "00:00 Volume = 40\n"
               "01:00 Binaural = 4 Hz over 2m exp\n"
               "01:30 Volume = 30\n"
               "03:00 preset 87  # a very long comment that runs past the width\n"
               "03:00 Volume = 50\n"
               "05:00 end\n");
    ProgramGuide guide(script);
    ProgramPlace start = guide.at(0.0);
    EXPECT_EQ(start.step, 1);
    EXPECT_EQ(start.steps, 4) << "the closing end is no step";
    EXPECT_EQ(start.label, "alpha");
    EXPECT_EQ(start.next, "Binaural → 4 Hz over 2m");
    EXPECT_EQ(start.untilNext, 60.0);
    EXPECT_EQ(guide.text(59.5), "step 1/4 \"alpha\"  next: Binaural → 4 Hz over 2m in 0:01");
    EXPECT_EQ(guide.text(60.0),
              "step 2/4 \"Binaural = 4 Hz over 2m exp\"  next: Volume → 30 in 0:30");
    EXPECT_EQ(guide.text(100.0), "step 3/4 \"Volume = 30\"  next: preset 87 +1 more in 1:20");
    EXPECT_EQ(guide.text(200.0),
              "step 4/4 \"a very long comment that runs past th...\"  next: end in 1:40");
    EXPECT_EQ(guide.at(300.0).step, 4);
    EXPECT_EQ(guide.text(300.0), "step 4/4 \"a very long comment that runs past th...\"");

    ProgramGuide late(parsed("00:10 Volume = 3\n2:00:00 preset Minimal\n"));
    EXPECT_EQ(late.text(5.0), "next: Volume → 3 in 0:05");
    EXPECT_EQ(late.text(10.0), "step 1/2 \"Volume = 3\"  next: preset Minimal in 1:59:50");
}
} // namespace
} // namespace serivane::tools
