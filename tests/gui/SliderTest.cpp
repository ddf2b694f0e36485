#include "gui/ISlider.h"
#include "tests/gui/ControlFixture.h"

namespace {

constexpr IArgb kSteel{255, 66, 110, 170};

struct Slider : ControlFixture {
    IBitmapRef handle = Bitmap(16, 16);
    ISliderBar bar{kSteel, 2, 1, true};

    // The layout's vertical slider (a "Low" fader) and horizontal one (a "Spread" slider).
    ISlider& Vertical(int paramIndex, int left = 29) {
        return Add<ISlider>(paramIndex, IBox{left, 135, left + 16, 193}, handle, LabelStyle(0), bar,
                            58, IAxis::Vertical, 0.2f);
    }
    ISlider& Horizontal(int paramIndex, int top = 198) {
        return Add<ISlider>(paramIndex, IBox{32, top, 94, top + 16}, handle, LabelStyle(0), bar, 62,
                            IAxis::Horizontal, 0.2f);
    }
    bool IsBar(int x, int y) const { return Pixel(x, y) == kSteel.Packed(); }
};

} // namespace

TEST_F(Slider, TrackSpansTheLengthAndTheHandleTravelsTheRest) {
    const ISlider& vertical = Vertical(0);
    EXPECT_EQ(vertical.TrackRect(), (IBox{29, 135, 45, 193}));
    EXPECT_EQ(vertical.Travel(), 42);
    const ISlider& horizontal = Horizontal(1);
    EXPECT_EQ(horizontal.TrackRect(), (IBox{32, 198, 94, 214}));
    EXPECT_EQ(horizontal.Travel(), 46);
    const auto& narrow = Add<ISliderImg>(0, IBox{100, 10, 131, 30}, handle, LabelStyle(0), 20,
                                         IAxis::Horizontal, 0.2f);
    EXPECT_EQ(narrow.TrackRect(), (IBox{106, 10, 126, 26})) << "centred across the box";
}

TEST_F(Slider, PressOnTheTrackBringsTheHandleCentreToThePointer) {
    Vertical(0);
    graphics.DispatchMouseDown(37, 135 + 8, {.left = true});
    EXPECT_EQ(Normalized(0), 1.0);
    graphics.DispatchMouseDrag(37, 135 + 8 + 21, {.left = true});
    EXPECT_DOUBLE_EQ(Normalized(0), 0.5);
    graphics.DispatchMouseDrag(37, 300, {.left = true});
    EXPECT_EQ(Normalized(0), 0.0) << "clamped below the track";
    graphics.DispatchMouseUp(37, 300, {});
    EXPECT_EQ(plug.edits, (std::vector<std::string>{"b0", "p0", "p0", "p0", "e0"}));

    Horizontal(1);
    graphics.DispatchMouseDown(32 + 8 + 23, 206, {.left = true});
    EXPECT_DOUBLE_EQ(Normalized(1), 0.5);
    graphics.DispatchMouseUp(32 + 8 + 23, 206, {});
    graphics.DispatchMouseDrag(90, 206, {.left = true});
    EXPECT_DOUBLE_EQ(Normalized(1), 0.5) << "a drag after the release moves nothing";
}

TEST_F(Slider, PressOffTheTrackDoesNothingAndARightPressAsksForAValue) {
    ISlider& slider = Add<ISlider>(0, IBox{20, 100, 80, 140}, handle, LabelStyle(0), bar, 40,
                                   IAxis::Vertical, 0.2f);
    plug.edits.clear();
    graphics.DispatchMouseDown(30, 120, {.left = true});
    graphics.DispatchMouseDrag(30, 110, {.left = true});
    graphics.DispatchMouseUp(30, 110, {});
    EXPECT_EQ(plug.edits, (std::vector<std::string>{"b0", "e0"}));
    graphics.DispatchMouseDown(30, 120, {.right = true});
    EXPECT_EQ(window.prompted, &slider);
}

TEST_F(Slider, HandleShowsTheParameterAndIdleSlidersAreDimmed) {
    Vertical(0);
    Horizontal(1);
    plug.SetParamFromEditor(0, 1.0);
    plug.SetParamFromEditor(1, 0.5);
    Paint();
    EXPECT_NEAR(Alpha(Pixel(37, 135)), 0.8 * 255, 1.0) << "vertical handle at the top";
    EXPECT_EQ(Pixel(37, 135 + 17), 0u);
    EXPECT_NEAR(Alpha(Pixel(32 + 23, 198)), 0.8 * 255, 1.0) << "horizontal handle midway";
    EXPECT_EQ(Pixel(32 + 22, 198), 0u);

    graphics.DispatchMouseOver(37, 150, {});
    Paint();
    EXPECT_EQ(Pixel(37, 135), kWhite) << "the hovered slider at full weight";
    graphics.SetHandleMouseOver(false);
    Paint();
    EXPECT_EQ(Pixel(32 + 23, 198), kWhite) << "no dimming without hover handling";
}

TEST_F(Slider, BarFillsFromTheTrackEndOrTheMiddleToTheHandle) {
    ISlider& fader = Vertical(0);
    fader.SetValue(1.0);
    bar.centred = false;
    ISlider& fromStart = Horizontal(1, 300);
    fromStart.SetValue(0.5);
    bar.centred = true;
    ISlider& fromMiddle = Horizontal(2, 400);
    fromMiddle.SetValue(0.0);
    Paint();
    // The vertical bar: two pixels wide, from the handle's centre down to inset 1 above the
    // track's end. The handles show the parameters' defaults and cover parts of the bars.
    EXPECT_TRUE(IsBar(36, 191));
    EXPECT_TRUE(IsBar(37, 150));
    EXPECT_FALSE(IsBar(35, 150));
    EXPECT_FALSE(IsBar(38, 150));
    EXPECT_FALSE(IsBar(37, 192));
    // From the start (after the inset) to the handle's centre: x 33 to 62.
    EXPECT_TRUE(IsBar(33, 308));
    EXPECT_FALSE(IsBar(32, 308));
    EXPECT_TRUE(IsBar(62, 308));
    EXPECT_FALSE(IsBar(63, 308));
    // From the handle's centre at the start to the middle of the travel: x 40 to 62.
    EXPECT_TRUE(IsBar(40, 408));
    EXPECT_FALSE(IsBar(39, 408));
    EXPECT_FALSE(IsBar(63, 408));

    fader.SetValue(0.0);
    bar.thickness = 0;
    ISlider& bare = Horizontal(3, 440);
    bare.SetValue(1.0);
    Paint();
    EXPECT_TRUE(IsBar(37, 188)) << "a fader at the bottom still shows a stub";
    EXPECT_FALSE(IsBar(50, 448)) << "no thickness, no bar";
}
