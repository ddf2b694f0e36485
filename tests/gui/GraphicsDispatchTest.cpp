#include "tests/gui/GuiFakes.h"

#include <gtest/gtest.h>

namespace {

struct Dispatch : ::testing::Test {
    GuiTestEffect plug;
    IGraphics graphics{plug, 200, 100};
    FakeWindow window;
    std::vector<std::string> journal;

    ProbeControl& Add(const std::string& name, const IBox& rect, int paramIndex = -1) {
        auto control = std::make_unique<ProbeControl>(plug, rect, paramIndex, name, journal);
        ProbeControl& added = *control;
        graphics.AddControl(std::move(control));
        return added;
    }
    void OpenPopupOver(ProbeControl& owner) {
        graphics.SetPopupListFactory(
            [](IEffectBase& p, int x, int y) { return std::make_unique<FakePopupList>(p, x, y); });
        owner.MouseDown(owner.Rect().left, owner.Rect().top, {.right = true});
        ASSERT_NE(graphics.OpenPopup(), nullptr);
    }
};

} // namespace

TEST_F(Dispatch, TopmostVisibleControlTakesTheClickAndGrayedOnesLetItThrough) {
    Add("below", {0, 0, 100, 100});
    ProbeControl& above = Add("above", {20, 20, 60, 60});
    EXPECT_EQ(graphics.ControlAt(30, 30), 1);
    above.SetGrayed(true);
    EXPECT_EQ(graphics.ControlAt(30, 30), 0);
    above.SetGrayed(false);
    above.SetHidden(true);
    EXPECT_EQ(graphics.ControlAt(30, 30), 0);
    EXPECT_EQ(graphics.ControlAt(150, 30), -1);
}

TEST_F(Dispatch, PressDragReleaseBracketsTheGestureOnTheCapturedControl) {
    Add("knob", {0, 0, 40, 40}, 0);
    Add("other", {50, 0, 90, 40});
    graphics.DispatchMouseDown(10, 10, {.left = true});
    graphics.DispatchMouseDrag(10, 10, {.left = true});
    graphics.DispatchMouseDrag(70, 5, {.left = true});
    graphics.DispatchMouseDrag(72, 9, {.left = true});
    graphics.DispatchMouseUp(72, 9, {});
    EXPECT_EQ(journal, (std::vector<std::string>{"knob down", "knob drag 60,-5", "knob drag 2,4",
                                                 "knob up"}));
    EXPECT_EQ(plug.edits, (std::vector<std::string>{"b0", "e0"}));
    graphics.DispatchMouseDrag(80, 9, {.left = true});
    EXPECT_EQ(journal.size(), 4u) << "no drag without a capture";
    graphics.DispatchMouseDown(150, 90, {.left = true});
    EXPECT_EQ(journal.size(), 4u);
}

TEST_F(Dispatch, DoubleClickResetsOrActsAsAPress) {
    ProbeControl& reset = Add("reset", {0, 0, 40, 40}, 0);
    ProbeControl& press = Add("press", {50, 0, 90, 40}, 1);
    press.SetDoubleClickAsDown(true);
    graphics.ShowParamInControls(0, 0.3, true);
    graphics.ApplyHostValues();
    reset.SetValue(0.9);
    EXPECT_FALSE(graphics.DispatchDoubleClick(10, 10, {.left = true}));
    EXPECT_EQ(reset.Value(), 0.3);
    EXPECT_TRUE(graphics.DispatchDoubleClick(60, 10, {.left = true}));
    graphics.DispatchMouseDrag(65, 10, {.left = true});
    EXPECT_EQ(journal, (std::vector<std::string>{"reset double", "press down", "press drag 5,0"}));
    EXPECT_EQ(plug.edits, (std::vector<std::string>{"b0", "p0", "b1"}));
    EXPECT_FALSE(graphics.DispatchDoubleClick(150, 90, {.left = true}));
}

TEST_F(Dispatch, WheelBurstEndsInOneGestureEndHalfASecondAfterTheLastStep) {
    plug.AttachEditor(std::make_unique<IGraphics>(plug, 200, 100));
    auto& editor = static_cast<IGraphics&>(*plug.Editor());
    editor.AddControl(std::make_unique<ProbeControl>(plug, IBox{0, 0, 40, 40}, 0, "k", journal));
    editor.DispatchMouseWheel(10, 10, {}, 1);
    EXPECT_EQ(editor.GestureCountdown(), 12);
    for (int tick = 0; tick < 5; ++tick) editor.OnTimerTick();
    editor.DispatchMouseWheel(10, 10, {}, 1);
    for (int tick = 0; tick < 11; ++tick) editor.OnTimerTick();
    EXPECT_EQ(plug.edits, (std::vector<std::string>{"b0", "p0", "p0"}));
    editor.OnTimerTick();
    EXPECT_EQ(plug.edits, (std::vector<std::string>{"b0", "p0", "p0", "e0"}));
    for (int tick = 0; tick < 30; ++tick) editor.OnTimerTick();
    EXPECT_EQ(plug.edits.size(), 4u);

    // A click while the countdown runs ends the wheel gesture before its own begins.
    plug.edits.clear();
    editor.DispatchMouseWheel(10, 10, {}, 1);
    editor.DispatchMouseDown(10, 10, {.left = true});
    editor.DispatchMouseUp(10, 10, {.left = true});
    for (int tick = 0; tick < 30; ++tick) editor.OnTimerTick();
    EXPECT_EQ(plug.edits, (std::vector<std::string>{"b0", "p0", "e0", "b0", "e0"}));
}

// A control that keeps its value under the wheel, as switches and buttons do.
class WheelDeaf : public ProbeControl {
public:
    using ProbeControl::ProbeControl;
    void MouseWheel(int, int, const IMouseState&, int) override {}
};

TEST_F(Dispatch, OnlyAWheelStepThatBeganAGestureEndsOne) {
    plug.AttachEditor(std::make_unique<IGraphics>(plug, 200, 100));
    auto& editor = static_cast<IGraphics&>(*plug.Editor());
    editor.AddControl(std::make_unique<ProbeControl>(plug, IBox{0, 0, 40, 40}, 0, "k", journal));
    editor.AddControl(std::make_unique<ProbeControl>(plug, IBox{50, 0, 90, 40}, 1, "n", journal));
    editor.AddControl(std::make_unique<WheelDeaf>(plug, IBox{100, 0, 140, 40}, 2, "s", journal));
    editor.DispatchMouseWheel(120, 10, {}, 1);
    for (int tick = 0; tick < 30; ++tick) editor.OnTimerTick();
    EXPECT_TRUE(plug.edits.empty());

    // A deaf step during a burst neither ends nor re-aims the running gesture.
    editor.DispatchMouseWheel(10, 10, {}, 1);
    editor.DispatchMouseWheel(120, 10, {}, 1);
    for (int tick = 0; tick < 30; ++tick) editor.OnTimerTick();
    EXPECT_EQ(plug.edits, (std::vector<std::string>{"b0", "p0", "e0"}));

    // Turning to another parameter ends the first gesture before the second begins.
    plug.edits.clear();
    editor.DispatchMouseWheel(10, 10, {}, 1);
    editor.DispatchMouseWheel(60, 10, {}, 1);
    editor.DispatchMouseWheel(120, 10, {}, 1);
    for (int tick = 0; tick < 30; ++tick) editor.OnTimerTick();
    EXPECT_EQ(plug.edits, (std::vector<std::string>{"b0", "p0", "e0", "b1", "p1", "e1"}));
}

TEST_F(Dispatch, ClosingTheWindowDuringAWheelBurstEndsTheGestureAtOnce) {
    plug.AttachEditor(std::make_unique<IGraphics>(plug, 200, 100));
    auto& editor = static_cast<IGraphics&>(*plug.Editor());
    editor.AddControl(std::make_unique<ProbeControl>(plug, IBox{0, 0, 40, 40}, 1, "k", journal));
    editor.AttachWindow(window);
    editor.DispatchMouseWheel(10, 10, {}, -1);
    editor.DetachWindow();
    EXPECT_EQ(plug.edits, (std::vector<std::string>{"b1", "p1", "e1"}));
    EXPECT_EQ(editor.GestureCountdown(), 0);
    EXPECT_FALSE(editor.IsWindowOpen());
}

TEST_F(Dispatch, HoverFollowsThePointerOnlyWhenEnabled) {
    Add("a", {0, 0, 40, 40}, 0);
    Add("b", {50, 0, 90, 40});
    EXPECT_FALSE(graphics.DispatchMouseOver(10, 10, {}));
    EXPECT_TRUE(journal.empty());
    graphics.SetHandleMouseOver(true);
    EXPECT_TRUE(graphics.DispatchMouseOver(10, 10, {}));
    EXPECT_TRUE(graphics.DispatchMouseOver(12, 10, {}));
    EXPECT_TRUE(graphics.DispatchMouseOver(60, 10, {}));
    EXPECT_TRUE(graphics.DispatchMouseOver(150, 10, {}));
    EXPECT_EQ(graphics.MouseOverIndex(), 1) << "empty space keeps the last hovered control";
    EXPECT_EQ(journal, (std::vector<std::string>{"a over", "a over", "b over", "a out"}));
    EXPECT_EQ(plug.statusTexts, (std::vector<int>{0, 0}));
    journal.clear();
    graphics.DispatchMouseOut();
    EXPECT_EQ(journal, (std::vector<std::string>{"a out", "b out"}));
    EXPECT_EQ(graphics.MouseOverIndex(), -1);
}

TEST_F(Dispatch, KeysAndDropsGoToTheControlUnderThePointer) {
    Add("a", {0, 0, 40, 40}, 0);
    graphics.DispatchKeyDown(10, 10, kKeyUp);
    graphics.DispatchKeyDown(150, 10, kKeyDown);
    graphics.DispatchFileDrop(10, 10, "/tmp/x.wav");
    EXPECT_EQ(journal, (std::vector<std::string>{"a key 1", "a drop /tmp/x.wav"}));
    EXPECT_TRUE(plug.edits.empty()) << "a drop begins no gesture and ends none";
}

TEST_F(Dispatch, AReleaseReachesAControlOnlyAfterAPressDid) {
    ProbeControl& owner = Add("owner", {10, 10, 50, 40}, 2);
    graphics.DispatchMouseDown(150, 90, {.left = true});
    graphics.DispatchMouseUp(20, 20, {});
    EXPECT_TRUE(journal.empty());
    EXPECT_TRUE(plug.edits.empty());

    // The list closes on a choice during the press; its release has no control to end.
    OpenPopupOver(owner);
    journal.clear();
    const IBox list = graphics.OpenPopup()->Rect();
    graphics.DispatchMouseDown(list.left + 2, list.top + 2, {.left = true});
    graphics.ReleaseCapture();
    graphics.ClosePopup(true);
    graphics.DispatchMouseUp(20, 20, {});
    EXPECT_TRUE(journal.empty());
    EXPECT_TRUE(plug.edits.empty());

    // A double click's release ends the gesture the double click began.
    graphics.DispatchDoubleClick(20, 20, {.left = true});
    graphics.DispatchMouseUp(20, 20, {});
    EXPECT_EQ(plug.edits, (std::vector<std::string>{"b2", "e2"}));
}

TEST_F(Dispatch, AClickElsewhereClosesThePopupAndOnlyThat) {
    ProbeControl& owner = Add("owner", {10, 10, 50, 40}, 2);
    Add("other", {150, 50, 190, 90}, 2);
    OpenPopupOver(owner);
    const int withPopup = graphics.ControlCount();
    // A press on the list itself leaves it open.
    const IBox list = graphics.OpenPopup()->Rect();
    graphics.DispatchMouseDown(list.left + 2, list.top + 2, {.left = true});
    graphics.DispatchMouseUp(list.left + 2, list.top + 2, {});
    EXPECT_NE(graphics.OpenPopup(), nullptr);

    journal.clear();
    graphics.DispatchMouseDown(160, 60, {.right = true});
    EXPECT_EQ(graphics.OpenPopup(), nullptr);
    EXPECT_EQ(graphics.ControlCount(), withPopup - 1);
    EXPECT_EQ(journal, (std::vector<std::string>{"owner popup '' -1", "other down"}));
    EXPECT_FALSE(graphics.TakePopupJustClosed()) << "the closing press consumed the mark";
    EXPECT_EQ(graphics.OpenPopup(), nullptr) << "that right click opened nothing";
}

TEST_F(Dispatch, LeftPressAfterAPopupClosedClearsTheMark) {
    ProbeControl& owner = Add("owner", {10, 10, 50, 40}, 2);
    OpenPopupOver(owner);
    graphics.ClosePopup(false);
    graphics.DispatchMouseDown(20, 20, {.left = true});
    graphics.DispatchMouseUp(20, 20, {});
    graphics.DispatchMouseDown(20, 20, {.right = true});
    EXPECT_NE(graphics.OpenPopup(), nullptr);
}
