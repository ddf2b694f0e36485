#include "gui/IButton.h"
#include "gui/ISwitchLbl.h"
#include "tests/gui/ControlFixture.h"

namespace {

constexpr raster::Argb kRed = raster::PackArgb(255, 255, 0, 0);
constexpr raster::Argb kBlue = raster::PackArgb(255, 0, 0, 255);

using Switch = ControlFixture;
using Button = ControlFixture;

} // namespace

TEST_F(Switch, BoxHoldsOneFrameWidenedOrNotAndTheLabel) {
    EXPECT_EQ(Add<ISwitchLbl>(3, 202, 445, Bitmap(57, 32, 2), LabelStyle(0), 0, 78,
                              IBitmapLayout::Stacked, 0.2f)
                  .Rect(),
              (IBox{202, 445, 280, 461}));
    EXPECT_EQ(Add<ISwitchLbl>(3, 10, 10, Bitmap(60, 20, 1), LabelStyle(12), 2, 0,
                              IBitmapLayout::SideBySide, 0.2f)
                  .Rect(),
              (IBox{10, 10, 70, 44}));
    IBitmapRef strip = Bitmap(60, 20, 1);
    strip.frames = 3;
    EXPECT_EQ(
        Add<ISwitchLbl>(3, 10, 10, strip, LabelStyle(12), 2, 0, IBitmapLayout::SideBySide, 0.2f)
            .Rect(),
        (IBox{10, 10, 30, 44}));
}

TEST_F(Switch, ClicksStepThroughTheStatesAndWrapWhileTheWheelDoesNothing) {
    ISwitchLbl& toggle = Add<ISwitchLbl>(3, 10, 10, Bitmap(20, 60, 3), LabelStyle(0), 0, 0,
                                         IBitmapLayout::Stacked, 0.2f);
    std::vector<double> seen;
    for (int click = 0; click < 4; ++click) {
        Click(15, 15);
        seen.push_back(Normalized(3));
    }
    EXPECT_EQ(seen, (std::vector<double>{0.5, 1.0, 0.0, 0.5}));
    EXPECT_EQ(plug.edits.size(), 12u) << "begin, perform and end for each click";
    graphics.DispatchMouseWheel(15, 15, {}, 3);
    EXPECT_EQ(toggle.Value(), 0.5);
    EXPECT_EQ(Normalized(3), 0.5);
    EXPECT_EQ(plug.edits.size(), 12u) << "a wheel that moves nothing begins and ends nothing";
}

TEST_F(Switch, ShowsTheValuesFrameCentredInItsWidthDimmedWhenHovered) {
    ISwitchLbl& toggle = Add<ISwitchLbl>(3, 202, 445, Bitmap(57, 32, 2, {kRed, kBlue}),
                                         LabelStyle(0), 0, 78, IBitmapLayout::Stacked, 0.2f);
    Paint();
    EXPECT_EQ(Pixel(213, 445), kRed);
    EXPECT_EQ(Pixel(269, 460), kRed);
    EXPECT_EQ(Pixel(212, 445), 0u);
    EXPECT_EQ(Pixel(270, 460), 0u);
    toggle.SetValue(1.0);
    Paint();
    EXPECT_EQ(Pixel(213, 445), kBlue);
    graphics.DispatchMouseOver(240, 450, {});
    Paint();
    EXPECT_NEAR(Alpha(Pixel(213, 445)), 0.8 * 255, 1.0);
}

TEST_F(Button, LeftClicksToggleAndARightClickOnlyResends) {
    IButton& button = Add<IButton>(3, 144, 223, Bitmap(32, 41), 0.1f);
    EXPECT_EQ(button.Rect(), (IBox{144, 223, 176, 264}));
    Click(150, 230);
    EXPECT_EQ(Normalized(3), 1.0);
    Click(150, 230);
    EXPECT_EQ(Normalized(3), 0.0);
    plug.edits.clear();
    Click(150, 230, {.right = true});
    EXPECT_EQ(Normalized(3), 0.0);
    EXPECT_EQ(plug.edits, (std::vector<std::string>{"b3", "p3", "e3"}));
    EXPECT_EQ(window.prompted, nullptr);
    EXPECT_EQ(graphics.OpenPopup(), nullptr);
    graphics.DispatchMouseWheel(150, 230, {}, 1);
    EXPECT_EQ(button.Value(), 0.0);
    EXPECT_EQ(plug.edits, (std::vector<std::string>{"b3", "p3", "e3"}));
}

TEST_F(Button, OffShowsOnlyAHoverHintAndOnShowsThePicture) {
    IButton& button = Add<IButton>(3, 144, 223, Bitmap(32, 41), 0.1f);
    Paint();
    EXPECT_EQ(Pixel(150, 230), 0u);
    graphics.DispatchMouseOver(150, 230, {});
    Paint();
    EXPECT_NEAR(Alpha(Pixel(150, 230)), 0.1 * 255, 1.0);
    button.SetValue(1.0);
    Paint();
    EXPECT_NEAR(Alpha(Pixel(150, 230)), 0.9 * 255, 1.0);
    graphics.DispatchMouseOut();
    Paint();
    EXPECT_EQ(Pixel(150, 230), kWhite);
}
