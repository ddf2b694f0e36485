#include "EditorSession.h"

#include <X11/keysym.h>
#include <cmath>
#include <dirent.h>
#include <gtest/gtest.h>

namespace serivane::integration {
namespace {

using namespace std::chrono_literals;
using Kind = host::HandlerCall::Kind;

constexpr int kLeft = 1;
constexpr int kRight = 3;
constexpr int kWheelUp = 4;

// Numeric parameters of the editor: a vertical slider, two knobs and a horizontal slider.
constexpr int kFader = 5;   // Low
constexpr int kKnob = 1;    // Low Freq
constexpr int kTypedIn = 2; // High Freq
constexpr int kWheeled = 4; // Spread
// A knob dragged by its own height moves by a quarter of its range.
constexpr double kKnobGearing = 4.0;

class EditorWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string reason;
        if (!session.start(reason)) {
            if (!HasFailure()) GTEST_SKIP() << "no virtual X server: " << reason;
        }
    }

    std::vector<Kind> kinds(int param) const { return session.kindsFor(param); }
    std::size_t count(int param, Kind kind) const { return session.countOf(param, kind); }
    bool runUntilGestureEnds(int param) { return session.runUntilGestureEnds(param); }

    double lastPerformed(int param) const {
        double value = -1.0;
        for (const host::HandlerCall& call : session.callsFor(static_cast<unsigned>(param)))
            if (call.kind == Kind::PerformEdit) value = call.value;
        return value;
    }

    // Right-clicks a numeric control and types into the value box that opens.
    void openValueBox(int param, const std::string& text) {
        IBox r = EditorSession::controlRect(param);
        session.input().moveTo(session.window(), centreX(r), centreY(r));
        session.input().click(kRight);
        ASSERT_TRUE(runUntilGestureEnds(param));
        session.clearCalls();
        session.input().type(text);
        session.run(100ms);
    }

    double normalizedOf(int param, double plain) {
        return session.plugin().toNormalized(static_cast<unsigned>(param), plain);
    }

    EditorSession session;
};

TEST_F(EditorWindowTest, DraggingAKnobBracketsItsEditsInOneGesture) {
    IBox r = EditorSession::controlRect(kKnob);
    double before = session.plugin().normalizedValue(kKnob);
    session.input().moveTo(session.window(), centreX(r), centreY(r));
    session.input().press(kLeft);
    for (int step = 1; step <= 4; ++step)
        session.input().moveTo(session.window(), centreX(r), centreY(r) - 8 * step);
    session.input().release(kLeft);
    ASSERT_TRUE(runUntilGestureEnds(kKnob));

    std::vector<Kind> calls = kinds(kKnob);
    ASSERT_GE(calls.size(), 3u);
    EXPECT_EQ(calls.front(), Kind::BeginEdit);
    EXPECT_EQ(calls.back(), Kind::EndEdit);
    for (std::size_t i = 1; i + 1 < calls.size(); ++i) EXPECT_EQ(calls[i], Kind::PerformEdit);
    EXPECT_NEAR(session.plugin().normalizedValue(kKnob), before + 32.0 / r.H() / kKnobGearing,
                0.005);
}

TEST_F(EditorWindowTest, AClickOnAFaderSetsTheValueUnderThePointer) {
    IBox r = EditorSession::controlRect(kFader);
    session.input().moveTo(session.window(), centreX(r), r.top + 12);
    session.input().click(kLeft);
    ASSERT_TRUE(runUntilGestureEnds(kFader));

    EXPECT_EQ(kinds(kFader),
              (std::vector<Kind>{Kind::BeginEdit, Kind::PerformEdit, Kind::EndEdit}));
    EXPECT_GT(lastPerformed(kFader), 0.8);
}

TEST_F(EditorWindowTest, AWheelBurstEndsInOneGestureEndAfterItStops) {
    IBox r = EditorSession::controlRect(kWheeled);
    double before = session.plugin().normalizedValue(kWheeled);
    session.input().moveTo(session.window(), centreX(r), centreY(r));
    for (int i = 0; i < 3; ++i) session.input().click(kWheelUp);
    ASSERT_TRUE(session.runUntil([&] { return count(kWheeled, Kind::PerformEdit) == 3; }));
    EXPECT_EQ(count(kWheeled, Kind::EndEdit), 0u);
    EXPECT_GT(session.plugin().normalizedValue(kWheeled), before);

    ASSERT_TRUE(session.runUntil([&] { return count(kWheeled, Kind::EndEdit) > 0; }));
    session.run(200ms);
    EXPECT_EQ(kinds(kWheeled),
              (std::vector<Kind>{Kind::BeginEdit, Kind::PerformEdit, Kind::PerformEdit,
                                 Kind::PerformEdit, Kind::EndEdit}));
}

TEST_F(EditorWindowTest, ADoubleClickResetsAControlToItsDefault) {
    IBox r = EditorSession::controlRect(kKnob);
    session.input().moveTo(session.window(), centreX(r), centreY(r));
    session.input().press(kLeft);
    session.input().moveTo(session.window(), centreX(r), centreY(r) - 30);
    session.input().release(kLeft);
    ASSERT_TRUE(runUntilGestureEnds(kKnob));
    // Long enough apart that the next click starts a new pair.
    session.run(600ms);
    double defaultValue = -1.0;
    for (const host::ParameterDescription& p : session.plugin().parameters())
        if (p.id == kKnob) defaultValue = p.defaultNormalized;
    ASSERT_GT(std::abs(session.plugin().normalizedValue(kKnob) - defaultValue), 0.1);

    session.input().moveTo(session.window(), centreX(r), centreY(r));
    session.clearCalls();
    session.input().click(kLeft);
    session.input().click(kLeft);
    ASSERT_TRUE(session.runUntil([&] { return count(kKnob, Kind::EndEdit) == 2; }));
    EXPECT_NEAR(lastPerformed(kKnob), defaultValue, 1e-9);
    std::vector<Kind> calls = kinds(kKnob);
    EXPECT_EQ(std::count(calls.begin(), calls.end(), Kind::BeginEdit),
              std::count(calls.begin(), calls.end(), Kind::EndEdit));
}

TEST_F(EditorWindowTest, TypedValueCommitsOnEnter) {
    openValueBox(kTypedIn, "1234");
    EXPECT_TRUE(kinds(kTypedIn).empty());
    session.input().key(XK_Return);
    ASSERT_TRUE(runUntilGestureEnds(kTypedIn));
    session.run(100ms);
    EXPECT_EQ(kinds(kTypedIn),
              (std::vector<Kind>{Kind::BeginEdit, Kind::PerformEdit, Kind::EndEdit}));
    EXPECT_NEAR(lastPerformed(kTypedIn), normalizedOf(kTypedIn, 1234.0), 1e-6);
    EXPECT_NEAR(session.plugin().normalizedValue(kTypedIn), normalizedOf(kTypedIn, 1234.0), 1e-6);
}

TEST_F(EditorWindowTest, TypedValueCommitsOnAClickElsewhere) {
    openValueBox(kTypedIn, "500");
    IBox elsewhere = EditorSession::controlRect(kKnob);
    session.input().moveTo(session.window(), centreX(elsewhere), elsewhere.bottom - 4);
    session.input().click(kLeft);
    ASSERT_TRUE(runUntilGestureEnds(kTypedIn));
    session.run(100ms);
    EXPECT_EQ(kinds(kTypedIn),
              (std::vector<Kind>{Kind::BeginEdit, Kind::PerformEdit, Kind::EndEdit}));
    EXPECT_NEAR(lastPerformed(kTypedIn), normalizedOf(kTypedIn, 500.0), 1e-6);
}

// A cancelled box tells the host nothing and leaves the value as it was.
TEST_F(EditorWindowTest, EscapeOrARightClickCancelsTypedValue) {
    double before = session.plugin().normalizedValue(kTypedIn);
    openValueBox(kTypedIn, "777");
    session.input().key(XK_Escape);
    session.run(300ms);
    EXPECT_TRUE(kinds(kTypedIn).empty());
    EXPECT_EQ(session.plugin().normalizedValue(kTypedIn), before);

    openValueBox(kTypedIn, "888");
    session.input().click(kRight);
    session.run(300ms);
    // The box is gone: Enter now reaches no box.
    session.input().key(XK_Return);
    session.run(300ms);
    EXPECT_TRUE(kinds(kTypedIn).empty());
    EXPECT_EQ(session.plugin().normalizedValue(kTypedIn), before);
}

TEST_F(EditorWindowTest, AHostChangeRedrawsTheControl) {
    IBox r = EditorSession::controlRect(kFader);
    host::WindowImage before = session.capture();
    ASSERT_TRUE(session.audio().queueChange(kFader, 1.0));
    host::WindowImage after;
    EXPECT_TRUE(session.runUntil([&] {
        after = session.capture();
        return changedPixels(before, after, r) > 50;
    }));
    IBox other = EditorSession::controlRect(kKnob);
    EXPECT_EQ(changedPixels(before, after, other), 0);
}

int openDescriptors() {
    int count = 0;
    if (DIR* dir = opendir("/proc/self/fd")) {
        while (readdir(dir)) ++count;
        closedir(dir);
    }
    return count;
}

TEST_F(EditorWindowTest, OpeningAndClosingAHundredTimesLeavesNothingBehind) {
    session.frame().close();
    int descriptors = openDescriptors();
    long long blocks = session.audio().blocksProcessed();
    for (int i = 0; i < 100; ++i) {
        std::string error;
        ASSERT_TRUE(session.frame().open(session.plugin().controller(), error)) << error;
        session.run(2ms);
        session.frame().close();
        EXPECT_EQ(session.frame().loop().handlerCount(), 1u);
        EXPECT_EQ(session.frame().loop().timerCount(), 0u);
    }
    EXPECT_EQ(openDescriptors(), descriptors);
    EXPECT_GT(session.audio().blocksProcessed(), blocks);
    EXPECT_FALSE(session.audio().failed());
}

// At a content scale the window takes that multiple of the layout's size, follows a new scale
// while open, and maps the pointer back: a drag moves the control under it by as much as the
// same drag in layout units at 1x.
TEST_F(EditorWindowTest, AtAScaleTheWindowFollowsAndADragMovesTheControlUnderIt) {
    session.frame().close();
    std::string error;
    ASSERT_TRUE(session.frame().open(session.plugin().controller(), error, 2.0)) << error;
    EXPECT_EQ(session.frame().size().getWidth(), 1200);
    EXPECT_EQ(session.frame().size().getHeight(), 950);
    session.run(100ms);

    IBox r = EditorSession::controlRect(kKnob);
    double before = session.plugin().normalizedValue(kKnob);
    session.input().moveTo(session.window(), 2 * centreX(r), 2 * centreY(r));
    session.input().press(kLeft);
    for (int step = 1; step <= 4; ++step)
        session.input().moveTo(session.window(), 2 * centreX(r), 2 * (centreY(r) - 8 * step));
    session.input().release(kLeft);
    ASSERT_TRUE(runUntilGestureEnds(kKnob));
    EXPECT_NEAR(session.plugin().normalizedValue(kKnob), before + 32.0 / r.H() / kKnobGearing,
                0.005);

    const int requests = session.frame().resizeRequests();
    ASSERT_TRUE(session.frame().setContentScale(1.5));
    EXPECT_EQ(session.frame().resizeRequests(), requests + 1);
    EXPECT_EQ(session.frame().size().getWidth(), 900);
    EXPECT_EQ(session.frame().size().getHeight(), 713);
    session.run(100ms);
    const host::WindowImage image = session.capture();
    EXPECT_EQ(image.width, 900);
    EXPECT_EQ(image.height, 713);
}

TEST_F(EditorWindowTest, OpeningRescalingAndClosingAHundredTimesKeepsTheSizeRight) {
    session.frame().close();
    int descriptors = openDescriptors();
    const double scales[] = {1.0, 1.5, 2.0, 1.25, 3.0, 1.75, 2.5};
    for (int i = 0; i < 100; ++i) {
        std::string error;
        const double opened = scales[i % 7];
        const double changed = scales[(i + 3) % 7];
        ASSERT_TRUE(session.frame().open(session.plugin().controller(), error, opened)) << error;
        session.run(2ms);
        ASSERT_TRUE(session.frame().setContentScale(changed));
        Steinberg::ViewRect reported;
        ASSERT_EQ(session.frame().view()->getSize(&reported), Steinberg::kResultOk);
        EXPECT_EQ(session.frame().size().getWidth(), reported.getWidth());
        EXPECT_EQ(session.frame().size().getHeight(), reported.getHeight());
        EXPECT_EQ(reported.getWidth(), std::lround(600 * changed));
        EXPECT_EQ(reported.getHeight(), std::lround(475 * changed));
        session.run(2ms);
        session.frame().close();
    }
    EXPECT_EQ(openDescriptors(), descriptors);
    EXPECT_FALSE(session.audio().failed());
}

} // namespace
} // namespace serivane::integration
