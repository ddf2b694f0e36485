#include "gui/IEditorWindow.h"
#include "gui/ValueBoxLayout.h"
#include "gui/x11/MessageBox.h"
#include "gui/x11/ValueEntryBox.h"
#include "platform/x11/DoubleClick.h"

#include <gtest/gtest.h>

namespace {

constexpr std::uint32_t kReturn = 0xFF0D, kEscape = 0xFF1B, kBackSpace = 0xFF08, kUp = 0xFF52,
                        kDown = 0xFF54, kHome = 0xFF50;

ValueEntryBox EditBox(const char* text, bool readOnly = false, bool password = false) {
    return ValueEntryBox::Edit({10, 10, 60, 26}, text, ITextStyle(), readOnly, password);
}

ValueEntryBox ThreeChoices(int selected) {
    return ValueEntryBox::DropDown({0, 0, 80, 144}, {"Sine", "Saw", "Square"}, selected,
                                   ITextStyle());
}

TEST(ValueBoxLayoutTest, BoxesTakeTheSpecifiedSizes) {
    IBox control{100, 50, 160, 150};
    // Centred edit box: 7 pixels a character plus 6, at least 32, 16 high, on the centre.
    EXPECT_EQ(EditBoxRect(control, 6, true), (IBox{106, 92, 154, 108}));
    EXPECT_EQ(EditBoxRect(control, 2, true).W(), 32);
    EXPECT_EQ(EditBoxRect(control, 6, false), control);
    // A drop-down of three entries is 144 pixels high and hangs from the centre.
    IBox list = DropDownRect(control, 3, 6, true);
    EXPECT_EQ(list.H(), 144);
    EXPECT_EQ(list.W(), 72);
    EXPECT_EQ(list.top, 100);
    EXPECT_EQ(DropDownRect(control, 3, 1, true).W(), 32);
    EXPECT_EQ(DropDownRect(control, 3, 6, false), (IBox{100, 100, 160, 200}));
    EXPECT_EQ(IEditorWindow::TimerIntervalMs(24), 41);
    EXPECT_EQ(IEditorWindow::TimerIntervalMs(0), 41);
}

TEST(ValueEntryBoxTest, TypingReplacesTheSelectedTextAndEnterCommits) {
    ValueEntryBox box = EditBox("440.0");
    EXPECT_EQ(box.State(), EditState::Editing);
    EXPECT_TRUE(box.AllSelected());
    box.Key('1');
    box.Key('2');
    box.Key(kBackSpace);
    box.Key('5');
    EXPECT_EQ(box.CommittedText(), "15");
    EXPECT_EQ(box.State(), EditState::Editing);
    box.Key(kHome);
    box.Key('-');
    box.Key(kReturn);
    EXPECT_EQ(box.State(), EditState::Commit);
    EXPECT_EQ(box.CommittedText(), "-15");
    EXPECT_FALSE(box.AllSelected());
}

TEST(ValueEntryBoxTest, EscapeCancelsAndAReadOnlyOrPasswordBoxKeepsItsText) {
    ValueEntryBox box = EditBox("abc");
    box.Key('x');
    box.Key(kEscape);
    EXPECT_EQ(box.State(), EditState::Cancel);

    ValueEntryBox fixed = EditBox("abc", true);
    fixed.Key('x');
    fixed.Key(kBackSpace);
    EXPECT_EQ(fixed.CommittedText(), "abc");
    fixed.Key(kReturn);
    EXPECT_EQ(fixed.State(), EditState::Commit);

    ValueEntryBox secret = EditBox("pw", false, true);
    EXPECT_EQ(secret.ShownText(), "**");
    EXPECT_EQ(secret.CommittedText(), "pw");
}

TEST(ValueEntryBoxTest, TextStopsAtItsCapacity) {
    ValueEntryBox box = EditBox("");
    for (std::size_t i = 0; i < ValueEntryBox::kMaxText + 10; ++i) box.Key('7');
    EXPECT_EQ(box.CommittedText().size(), ValueEntryBox::kMaxText);
}

TEST(ValueEntryBoxTest, ADropDownCommitsOnANewChoiceByKeyOrClick) {
    ValueEntryBox keys = ThreeChoices(0);
    keys.Key(kUp); // already the first: no change
    EXPECT_EQ(keys.State(), EditState::Editing);
    keys.Key(kDown);
    EXPECT_EQ(keys.State(), EditState::Commit);
    EXPECT_EQ(keys.CommittedText(), "Saw");

    ValueEntryBox click = ThreeChoices(-1);
    EXPECT_EQ(click.CommittedText(), "");
    IBox third = click.ItemRect(2);
    EXPECT_TRUE(click.Hover(third.left + 2, third.top + 2));
    EXPECT_EQ(click.Highlighted(), 2);
    click.Press(third.left + 2, third.top + 2);
    EXPECT_EQ(click.State(), EditState::Commit);
    EXPECT_EQ(click.CommittedText(), "Square");

    ValueEntryBox none = ThreeChoices(-1);
    none.Key(kReturn);
    EXPECT_EQ(none.State(), EditState::Cancel);
    // Only the choice row and the list are drawn of the reserved height.
    EXPECT_EQ(none.DrawnRect().H(), ValueEntryBox::kRowHeight * 4 + 2);
}

TEST(DoubleClickTest, TwoNearPressesWithinTheIntervalPair) {
    x11::DoubleClick clicks;
    EXPECT_FALSE(clicks.Press(10, 10, 1000));
    EXPECT_TRUE(clicks.Press(12, 13, 1400));
    // A third press starts a new pair.
    EXPECT_FALSE(clicks.Press(12, 13, 1500));
    EXPECT_FALSE(clicks.Press(12, 13, 2100)); // too late
    EXPECT_FALSE(clicks.Press(30, 13, 2200)); // too far
    clicks.Reset();
    EXPECT_FALSE(clicks.Press(30, 13, 2300));
    // Server time wraps around.
    EXPECT_FALSE(clicks.Press(0, 0, 0xFFFFFF00u));
    EXPECT_TRUE(clicks.Press(0, 0, 0x00000010u));
}

TEST(MessageBoxTest, AnswersByButtonOrKey) {
    MessageBox ok("", "Cannot open url.", MessageBox::Buttons::Ok, 120, 600, 475);
    EXPECT_EQ(ok.GetAnswer(), MessageBox::Answer::Pending);
    IBox button = ok.ButtonRect(0);
    ok.Press(button.left - 1, button.top);
    EXPECT_EQ(ok.GetAnswer(), MessageBox::Answer::Pending);
    ok.Press(button.left, button.top);
    EXPECT_EQ(ok.GetAnswer(), MessageBox::Answer::Ok);
    // Centred in the window.
    EXPECT_EQ(ok.Rect().left + ok.Rect().right, 600);

    MessageBox question("Title", "Open?", MessageBox::Buttons::YesNo, 50, 600, 475);
    question.Key(kEscape);
    EXPECT_EQ(question.GetAnswer(), MessageBox::Answer::No);
    MessageBox yes("Title", "Open?", MessageBox::Buttons::YesNo, 50, 600, 475);
    IBox second = yes.ButtonRect(1);
    yes.Press(second.left + 1, second.top + 1);
    EXPECT_EQ(yes.GetAnswer(), MessageBox::Answer::No);
    yes.Key(kReturn);
    EXPECT_EQ(yes.GetAnswer(), MessageBox::Answer::Yes);
}

} // namespace
