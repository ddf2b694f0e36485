#include "tests/gui/GuiFakes.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

namespace {

struct Binding : ::testing::Test {
    GuiTestEffect plug;
    std::vector<std::string> journal;

    IGraphics& Attach() {
        auto graphics = std::make_unique<IGraphics>(plug, 200, 100);
        graphics->AddControl(
            std::make_unique<ProbeControl>(plug, IBox{0, 0, 40, 40}, 0, "a", journal));
        graphics->AddControl(
            std::make_unique<ProbeControl>(plug, IBox{50, 0, 90, 40}, 0, "b", journal));
        graphics->AddControl(
            std::make_unique<ProbeControl>(plug, IBox{100, 0, 140, 40}, 1, "c", journal));
        plug.AttachEditor(std::move(graphics));
        return static_cast<IGraphics&>(*plug.Editor());
    }
};

} // namespace

TEST_F(Binding, AttachingGivesEveryControlItsParameterAsDefault) {
    IGraphics& graphics = Attach();
    EXPECT_DOUBLE_EQ(graphics.ControlAtIndex(0)->DefaultValue(), 0.5);
    EXPECT_DOUBLE_EQ(graphics.ControlAtIndex(1)->Value(), 0.5);
    EXPECT_DOUBLE_EQ(graphics.ControlAtIndex(2)->DefaultValue(), 0.2);
    ASSERT_NE(graphics.DrawRaster(), nullptr);
}

TEST_F(Binding, HostChangesReachEveryBoundControlOnTheWindowThread) {
    IGraphics& graphics = Attach();
    for (int i = 0; i < 3; ++i) graphics.ControlAtIndex(i)->MarkClean();
    for (int i = 0; i < 3; ++i) graphics.ControlAtIndex(i)->MarkClean();
    plug.ParamAt(0)->SetClamped(2.5);
    plug.RefreshEditorControls();
    EXPECT_DOUBLE_EQ(graphics.ControlAtIndex(0)->Value(), 0.5) << "recorded, not yet applied";
    graphics.ApplyHostValues();
    EXPECT_DOUBLE_EQ(graphics.ControlAtIndex(0)->Value(), 0.25);
    EXPECT_DOUBLE_EQ(graphics.ControlAtIndex(1)->Value(), 0.25);
    EXPECT_TRUE(graphics.ControlAtIndex(0)->IsDirty());
    EXPECT_TRUE(graphics.ControlAtIndex(1)->IsDirty());
    EXPECT_FALSE(graphics.ControlAtIndex(2)->IsDirty()) << "unchanged values stay clean";
    EXPECT_TRUE(plug.edits.empty()) << "host values are not echoed to the host";

    graphics.ShowParamInControls(1, 0.75, true);
    graphics.ShowParamInControls(99, 0.75, true);
    graphics.ShowParamInControls(-1, 0.75, true);
    graphics.OnTimerTick();
    EXPECT_DOUBLE_EQ(graphics.ControlAtIndex(2)->Value(), 0.75);
}

TEST_F(Binding, EditorValuesReachTheHostThroughThePlugIn) {
    IGraphics& graphics = Attach();
    graphics.SetControlsFromUser(1, 0.4);
    EXPECT_EQ(plug.ParamAt(1)->Value(), 40);
    EXPECT_EQ(plug.edits, std::vector<std::string>{"p1"});
    graphics.ShowControlValue(2, 0.8);
    graphics.ShowControlValue(3, 0.9);
    graphics.ShowControlValue(-1, 0.9);
    graphics.ShowControlValue(2, 0.9);
    EXPECT_DOUBLE_EQ(graphics.ControlAtIndex(2)->Value(), 0.4) << "shown with the next tick";
    graphics.OnTimerTick();
    EXPECT_DOUBLE_EQ(graphics.ControlAtIndex(2)->Value(), 0.9);
    EXPECT_EQ(plug.edits.size(), 1u);
}

// The host's audio thread pushes values while the window thread ticks and dispatches; the
// sanitizer builds check that nothing races.
TEST_F(Binding, HostValuesFromAnotherThreadWhileTheWindowRuns) {
    IGraphics& graphics = Attach();
    std::atomic<bool> done{false};
    std::thread audio([&] {
        for (int i = 0; i < 20000; ++i) {
            std::lock_guard lock(plug.Mutex());
            graphics.ShowParamInControls(i % 2, (i % 100) / 100.0, true);
            graphics.ShowControlValue(2, (i % 10) / 10.0);
        }
        std::lock_guard lock(plug.Mutex());
        graphics.ShowParamInControls(0, 0.125, true);
        done = true;
    });
    while (!done) {
        graphics.OnTimerTick();
        graphics.DispatchMouseOver(10, 10, {});
    }
    audio.join();
    graphics.OnTimerTick();
    EXPECT_DOUBLE_EQ(graphics.ControlAtIndex(0)->Value(), 0.125);
}
