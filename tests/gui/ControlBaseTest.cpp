#include "tests/gui/GuiFakes.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

struct ControlBase : ::testing::Test {
    GuiTestEffect plug;
    IGraphics graphics{plug, 200, 100};
    std::vector<std::string> journal;

    ProbeControl& Add(int paramIndex, const IBox& rect = {10, 10, 50, 50}) {
        auto control = std::make_unique<ProbeControl>(plug, rect, paramIndex, "c", journal);
        ProbeControl& added = *control;
        graphics.AddControl(std::move(control));
        return added;
    }
};

} // namespace

TEST_F(ControlBase, MarkDirtyClampsAndPushesOnlyBoundValues) {
    ProbeControl& bound = Add(0);
    bound.SetValue(1.7);
    bound.MarkDirty(false);
    EXPECT_EQ(bound.Value(), 1.0);
    EXPECT_TRUE(plug.edits.empty());
    bound.SetValue(std::numeric_limits<double>::quiet_NaN());
    bound.MarkDirty(true);
    EXPECT_EQ(bound.Value(), 0.0);
    EXPECT_EQ(plug.edits, std::vector<std::string>{"p0"});
    EXPECT_EQ(plug.ParamAt(0)->Value(), 0.0);

    ProbeControl& unbound = Add(-1);
    unbound.SetClamp(0.2, 0.8);
    unbound.SetValue(-3.0);
    unbound.MarkDirty(true);
    EXPECT_DOUBLE_EQ(unbound.Value(), 0.2);
    EXPECT_EQ(plug.edits.size(), 1u);
}

TEST_F(ControlBase, FirstPlugValueBecomesTheDefaultAndMarksDirty) {
    ProbeControl& control = Add(0);
    control.MarkClean();
    control.ValueFromPlug(0.0);
    EXPECT_EQ(control.DefaultValue(), 0.0);
    EXPECT_TRUE(control.IsDirty());
    control.MarkClean();
    control.MarkClean();
    control.ValueFromPlug(0.0);
    EXPECT_FALSE(control.IsDirty());
    control.ValueFromPlug(0.25);
    EXPECT_EQ(control.Value(), 0.25);
    EXPECT_EQ(control.DefaultValue(), 0.0);
    control.MarkClean();
    EXPECT_TRUE(control.IsDirty()) << "a plug value is painted on the following tick too";
}

TEST_F(ControlBase, ValueFromUserAlwaysReachesThePlugIn) {
    ProbeControl& control = Add(1);
    control.SetValue(0.5);
    control.ValueFromUser(0.5);
    EXPECT_EQ(plug.edits, std::vector<std::string>{"p1"});
    EXPECT_EQ(plug.ParamAt(1)->Value(), 50);
}

TEST_F(ControlBase, DoubleClickResetsOnlyOnceADefaultArrived) {
    ProbeControl& control = Add(0);
    control.SetValue(0.7);
    control.MouseDoubleClick(0, 0, {});
    EXPECT_EQ(control.Value(), 0.7);
    EXPECT_TRUE(plug.edits.empty());
    control.ValueFromPlug(0.5);
    control.SetValue(0.9);
    control.MouseDoubleClick(0, 0, {});
    EXPECT_EQ(control.Value(), 0.5);
    EXPECT_EQ(plug.edits, std::vector<std::string>{"p0"});
}

TEST_F(ControlBase, WheelStepsByParameterKind) {
    ProbeControl& number = Add(0);
    number.SetValue(0.5);
    number.MouseWheel(0, 0, {}, 1);
    EXPECT_NEAR(number.Value(), 0.51, 1e-6);
    number.MouseWheel(0, 0, {.shift = true}, 1);
    EXPECT_NEAR(number.Value(), 0.511, 1e-6);
    number.MouseWheel(0, 0, {.ctrl = true}, -2);
    EXPECT_NEAR(number.Value(), 0.509, 1e-6);

    ProbeControl& choice = Add(2);
    choice.MouseWheel(0, 0, {}, 1);
    EXPECT_NEAR(choice.Value(), 0.125, 1e-9);

    // Without display texts the step is half of one of its three values.
    ProbeControl& bank = Add(3);
    bank.MouseWheel(0, 0, {}, 1);
    EXPECT_NEAR(bank.Value(), 0.5 / 3, 1e-6);

    ProbeControl& none = Add(-1);
    none.MouseWheel(0, 0, {}, 5);
    EXPECT_EQ(none.Value(), 0.0);
}

TEST_F(ControlBase, HidingGrayingAndHitTest) {
    ProbeControl& control = Add(0, {10, 20, 30, 40});
    EXPECT_TRUE(control.HitTest(10, 20));
    EXPECT_TRUE(control.HitTest(30, 40)) << "edges belong to the control";
    EXPECT_FALSE(control.HitTest(31, 40));

    control.MarkClean();
    control.SetGrayed(true);
    EXPECT_FLOAT_EQ(control.Blend().weight, 0.25f);
    EXPECT_TRUE(control.IsDirty());
    control.SetGrayed(false);
    EXPECT_FLOAT_EQ(control.Blend().weight, 1.0f);

    control.MarkClean();
    control.SetHidden(true);
    control.MarkClean();
    EXPECT_TRUE(control.IsDirty()) << "hiding repaints the area once more";
    control.MarkClean();
    EXPECT_FALSE(control.IsDirty());
}

TEST_F(ControlBase, RightClickAsksTheWindowForValueEntry) {
    FakeWindow window;
    graphics.AttachWindow(window);
    ProbeControl& number = Add(0);
    number.MouseDown(20, 20, {.right = true});
    EXPECT_EQ(window.prompted, &number);
    EXPECT_TRUE(window.promptCentred);

    window.prompted = nullptr;
    number.SetNoPrompt(true);
    number.MouseDown(20, 20, {.right = true});
    ProbeControl& unbound = Add(-1);
    unbound.MouseDown(20, 20, {.right = true});
    number.SetNoPrompt(false);
    number.MouseDown(20, 20, {.left = true});
    EXPECT_EQ(window.prompted, nullptr);

    // Without an in-editor list a choice parameter falls back to the window's drop-down.
    ProbeControl& choice = Add(2);
    choice.MouseDown(20, 20, {.right = true});
    EXPECT_EQ(window.prompted, &choice);
}

TEST_F(ControlBase, RightClickOnAChoiceOpensThePopupListCentredInsideTheEditor) {
    graphics.SetPopupListFactory([](IEffectBase& plug, int x, int y) {
        return std::make_unique<FakePopupList>(plug, x, y);
    });
    ProbeControl& choice = Add(2, {100, 60, 140, 90});
    choice.MouseDown(120, 70, {.right = true});
    auto* popup = dynamic_cast<FakePopupList*>(graphics.OpenPopup());
    ASSERT_NE(popup, nullptr);
    EXPECT_EQ(graphics.ControlAtIndex(graphics.ControlCount() - 1), popup);
    EXPECT_EQ(popup->items, (std::vector<std::string>{"Sine", "Square", "Saw", "Noise"}));
    EXPECT_EQ(popup->openedFor, 2);
    EXPECT_EQ(popup->Owner(), &choice);
    EXPECT_FALSE(popup->IsHidden());
    // 80 x 84 centred over the control would start at x 80, y 33; the bottom edge keeps 6
    // pixels inside the 100-pixel editor.
    EXPECT_EQ(popup->Rect(), (IBox{80, 10, 160, 94}));
    EXPECT_EQ(popup->TargetRect(), popup->Rect());
}
