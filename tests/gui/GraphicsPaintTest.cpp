#include "tests/gui/GuiFakes.h"

#include <gtest/gtest.h>

namespace {

struct Paint : ::testing::Test {
    GuiTestEffect plug;
    IGraphics graphics{plug, 200, 100};
    FakeWindow window;
    std::vector<std::string> journal;

    ProbeControl& Add(const std::string& name, const IBox& rect) {
        auto control = std::make_unique<ProbeControl>(plug, rect, -1, name, journal);
        ProbeControl& added = *control;
        graphics.AddControl(std::move(control));
        return added;
    }
    void CleanAll() {
        for (int i = 0; i < graphics.ControlCount(); ++i) graphics.ControlAtIndex(i)->MarkClean();
    }
};

} // namespace

TEST_F(Paint, DirtyRegionIsTheUnionOfDirtyControls) {
    ProbeControl& back = Add("back", {0, 0, 200, 100});
    ProbeControl& a = Add("a", {10, 10, 30, 30});
    ProbeControl& b = Add("b", {100, 50, 120, 80});
    CleanAll();
    IBox dirty{1, 1, 1, 1};
    EXPECT_FALSE(graphics.CollectDirty(&dirty));
    EXPECT_TRUE(dirty.Empty());
    a.MarkDirty(false);
    b.MarkDirty(false);
    ASSERT_TRUE(graphics.CollectDirty(&dirty));
    EXPECT_EQ(dirty, (IBox{10, 10, 120, 80}));
    CleanAll();
    graphics.RedrawAll();
    ASSERT_TRUE(graphics.CollectDirty(&dirty));
    EXPECT_EQ(dirty, back.Rect());
}

TEST_F(Paint, OnlyVisibleControlsOverlappingTheUpdateDrawButAllAreCleaned) {
    Add("back", {0, 0, 200, 100});
    ProbeControl& a = Add("a", {10, 10, 30, 30});
    ProbeControl& touching = Add("touching", {30, 10, 50, 30});
    ProbeControl& hidden = Add("hidden", {10, 10, 30, 30});
    ProbeControl& empty = Add("empty", {});
    hidden.SetHidden(true);
    graphics.AttachWindow(window);
    EXPECT_TRUE(graphics.DrawDirty({5, 5, 30, 30}));
    EXPECT_EQ(journal, (std::vector<std::string>{"back draw", "a draw"}));
    EXPECT_EQ(window.presented, std::vector<IBox>{(IBox{5, 5, 30, 30})});
    EXPECT_FALSE(a.IsDirty());
    EXPECT_FALSE(touching.IsDirty());
    EXPECT_FALSE(empty.IsDirty());
    EXPECT_TRUE(hidden.IsDirty()) << "hiding keeps it dirty for one more tick";
    graphics.DrawDirty({5, 5, 30, 30});
    EXPECT_FALSE(hidden.IsDirty());
    EXPECT_EQ(graphics.DrawRect(), (IBox{5, 5, 30, 30}));
}

TEST_F(Paint, TickPaintsTheDirtyUnionThenTheAlwaysRedrawnRegion) {
    Add("back", {0, 0, 200, 100});
    ProbeControl& a = Add("a", {10, 10, 30, 30});
    graphics.AttachWindow(window);
    CleanAll();
    graphics.OnTimerTick();
    EXPECT_TRUE(window.presented.empty());

    a.MarkDirty(false);
    graphics.SetAlwaysRedrawRect({100, 0, 150, 20});
    graphics.OnTimerTick();
    graphics.OnTimerTick();
    EXPECT_EQ(window.presented,
              (std::vector<IBox>{{10, 10, 30, 30}, {100, 0, 150, 20}, {100, 0, 150, 20}}));

    window.presented.clear();
    graphics.SetAlwaysRedrawRect({});
    graphics.SetRedrawOnTick(false);
    a.MarkDirty(false);
    graphics.OnTimerTick();
    EXPECT_TRUE(window.presented.empty());
}

TEST_F(Paint, AttachingAWindowRepaintsEverything) {
    ProbeControl& back = Add("back", {0, 0, 200, 100});
    CleanAll();
    graphics.AttachWindow(window);
    EXPECT_TRUE(back.IsDirty());
}

TEST_F(Paint, ResizeDropsTheControlsAndAsksTheHost) {
    Add("back", {0, 0, 200, 100});
    graphics.AttachWindow(window);
    graphics.DispatchMouseDown(5, 5, {.left = true});
    graphics.Resize(300, 200);
    EXPECT_EQ(graphics.ControlCount(), 0);
    EXPECT_EQ(graphics.Width(), 300);
    EXPECT_EQ(window.size, (IBox{0, 0, 300, 200}));
    EXPECT_EQ(plug.resized, std::vector<std::string>{"300x200"});
    graphics.DispatchMouseDrag(50, 50, {.left = true});
    EXPECT_TRUE(graphics.DrawDirty({0, 0, 10, 10}));
}
