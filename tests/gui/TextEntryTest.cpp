#include "tests/gui/GuiFakes.h"
#include "tests/gui/editor/TestControls.h"

#include <gtest/gtest.h>

namespace {

struct TextEntry : ::testing::Test {
    GuiTestEffect plug;
    IGraphics graphics{plug, 200, 100};
    std::vector<std::string> journal;

    IControl& Add(int paramIndex) {
        auto control =
            std::make_unique<ProbeControl>(plug, IBox{0, 0, 40, 40}, paramIndex, "c", journal);
        IControl& added = *control;
        graphics.AddControl(std::move(control));
        return added;
    }
    double Enter(int paramIndex, const char* text) {
        IControl& control = Add(paramIndex);
        plug.edits.clear();
        graphics.ApplyTextEntry(&control, plug.ParamAt(paramIndex), text);
        return plug.ParamAt(paramIndex)->Value();
    }
};

} // namespace

TEST_F(TextEntry, NumbersAreReadFromTheStartOfTheText) {
    EXPECT_DOUBLE_EQ(Enter(0, "7.25"), 7.25);
    EXPECT_EQ(plug.edits, (std::vector<std::string>{"b0", "p0", "e0"}));
    EXPECT_DOUBLE_EQ(Enter(0, "  3.5 volts"), 3.5);
    EXPECT_DOUBLE_EQ(Enter(0, "+.5"), 0.5);
    EXPECT_DOUBLE_EQ(Enter(0, "1e1"), 10.0);
    EXPECT_DOUBLE_EQ(Enter(0, "99"), 10.0) << "out of range clamps";
    EXPECT_DOUBLE_EQ(Enter(0, "1e999"), 10.0);
    EXPECT_EQ(Enter(1, "42"), 42);
}

TEST_F(TextEntry, TextWithoutALeadingNumberMeansZero) {
    EXPECT_DOUBLE_EQ(Enter(0, "loud"), 0.0);
    EXPECT_DOUBLE_EQ(Enter(0, "inf"), 0.0);
    EXPECT_DOUBLE_EQ(Enter(0, "nan"), 0.0);
    EXPECT_DOUBLE_EQ(Enter(0, "-"), 0.0);
    EXPECT_DOUBLE_EQ(Enter(0, ""), 0.0);
    EXPECT_DOUBLE_EQ(Enter(1, "0x40"), 0.0);
}

TEST_F(TextEntry, DisplayTextsAndNegatedDisplays) {
    EXPECT_EQ(Enter(2, "Saw"), 2);
    EXPECT_EQ(Enter(2, "saw"), 0) << "display texts match exactly";
    EXPECT_EQ(Enter(2, "3"), 3);
    EXPECT_DOUBLE_EQ(Enter(4, "-24"), 24.0);
    EXPECT_DOUBLE_EQ(Enter(4, "12"), 0.0) << "a shown +12 dB is below the range";
}

TEST_F(TextEntry, FreeTextGoesToEditableTextControlsOnly) {
    auto field = std::make_unique<TestTextField>(plug, IBox{0, 50, 100, 70}, "old");
    TestTextField& added = *field;
    graphics.AddControl(std::move(field));
    graphics.ApplyTextEntry(&added, nullptr, "new");
    EXPECT_STREQ(added.Text(), "new");

    IControl& plain = Add(-1);
    graphics.ApplyTextEntry(&plain, nullptr, "ignored");
    graphics.ApplyTextEntry(nullptr, nullptr, "ignored");
    EXPECT_TRUE(plug.edits.empty());
}
