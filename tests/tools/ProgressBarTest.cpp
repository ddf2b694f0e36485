#include "tools/report/ProgressBar.h"
#include "tools/report/NumberText.h"

#include <gtest/gtest.h>
#include <sstream>

namespace serivane::tools {
namespace {

TEST(ProgressBar, ShowsTheTimeTakenAndTheTimeLeftAndRedrawsOnlyOnChange) {
    std::ostringstream out;
    ProgressBar bar(out, true, 1000);
    bar.update(0, 0.2);
    EXPECT_EQ(out.str(), "\rRendering [" + std::string(40, '.') + "] 0%  0:00 elapsed")
        << "no guess at the time left before any progress";
    out.str("");
    bar.update(5, 0.9);
    EXPECT_TRUE(out.str().empty()) << "same percentage, same second";
    bar.update(250, 10.5);
    EXPECT_EQ(out.str(), "\rRendering [" + std::string(10, '#') + std::string(30, '.') +
                             "] 25%  0:10 elapsed, 0:31 left");
    out.str("");
    bar.update(250, 11.2);
    EXPECT_NE(out.str().find("0:11 elapsed, 0:33 left"), std::string::npos) << out.str();
    out.str("");
    bar.update(1000, 40.0);
    EXPECT_NE(out.str().find("] 100%  0:40 elapsed, 0:00 left"), std::string::npos) << out.str();
    out.str("");
    bar.finish();
    EXPECT_EQ(out.str().find_first_not_of(" \r"), std::string::npos) << "clears its line";
}

TEST(ProgressBar, StaysQuietOffATerminal) {
    std::ostringstream out;
    ProgressBar bar(out, false, 1000);
    bar.update(500, 3.0);
    bar.finish();
    EXPECT_TRUE(out.str().empty());
}

TEST(NumberText, DurationsToATenthOfASecond) {
    EXPECT_EQ(durationText(2.083333333e-05), "0:00.0");
    EXPECT_EQ(durationText(608.193), "10:08.2");
    EXPECT_EQ(durationText(59.96), "1:00.0");
    EXPECT_EQ(durationText(3600.0), "1:00:00.0");
}

TEST(ProgressBar, ClockTexts) {
    EXPECT_EQ(clockText(0.0), "0:00");
    EXPECT_EQ(clockText(59.99), "0:59");
    EXPECT_EQ(clockText(754.0), "12:34");
    EXPECT_EQ(clockText(3723.0), "1:02:03");
    EXPECT_EQ(clockText(86400.0), "24:00:00");
    EXPECT_EQ(clockText(-1.0), "0:00");
}

} // namespace
} // namespace serivane::tools
