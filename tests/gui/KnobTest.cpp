#include "gui/IBitmapCache.h"
#include "gui/IKnobRotVal.h"
#include "gui/ITextControl.h"
#include "tests/gui/ControlFixture.h"

namespace {

constexpr raster::Argb kRed = raster::PackArgb(255, 255, 0, 0);
constexpr raster::Argb kBlue = raster::PackArgb(255, 0, 0, 255);

// A square with a red bar 5 pixels wide from its centre up to its top edge.
std::unique_ptr<raster::Raster> MakePointer(int size, raster::Argb ground) {
    auto pointer = std::make_unique<raster::Raster>(size, size);
    pointer->Clear(ground);
    raster::FillRect(*pointer, {size / 2 - 2, 0, size / 2 + 3, size / 2}, kRed);
    return pointer;
}

bool IsRed(uint32_t pixel) {
    return (pixel >> 16 & 0xFF) > 128 && (pixel & 0xFF) < 100;
}

struct Knob : ControlFixture {
    // The layout's knob settings: gearing 4 over 300 degrees, label 2 pixels below.
    IKnobRotValSettings settings{.labelGap = 2, .gearing = 4.0, .hoverAmount = 0.15f};

    IBitmapRef Pointer(int size) {
        rasters.push_back(MakePointer(size, 0));
        return {rasters.back().get(), size, size, 1, 0};
    }
    IKnobRotVal& AddKnob(int paramIndex, int x, int y, const IBitmapRef& bitmap,
                         int labelSize = 0) {
        return Add<IKnobRotVal>(paramIndex, x, y, bitmap, LabelStyle(labelSize), settings);
    }
    void FromHost(int paramIndex, double normalized) {
        graphics.ShowParamInControls(paramIndex, normalized, true);
        graphics.ApplyHostValues();
    }
};

} // namespace

TEST_F(Knob, BoxCentresTheFixedHalfAndMakesRoomForTheLabel) {
    EXPECT_EQ(AddKnob(0, 300, 242, Bitmap(92, 92)).Rect(), (IBox{254, 196, 346, 290}));
    EXPECT_EQ(AddKnob(1, 165, 155, Bitmap(64, 64)).Rect(), (IBox{133, 123, 197, 189}));
    EXPECT_EQ(AddKnob(0, 111, 263, Bitmap(48, 48)).Rect(), (IBox{87, 239, 135, 289}));
    settings.width = 41;
    EXPECT_EQ(AddKnob(0, 100, 100, Bitmap(48, 30), 12).Rect(), (IBox{80, 85, 120, 129}));
    settings.labelGap = -4;
    EXPECT_EQ(AddKnob(0, 100, 100, Bitmap(48, 30), 12).Rect(), (IBox{80, 85, 120, 115}))
        << "a label drawn over the picture takes no room";
}

TEST_F(Knob, DraggingUpByItsHeightMovesByOneOverTheGearing) {
    IKnobRotVal& knob = AddKnob(0, 300, 242, Bitmap(92, 92));
    FromHost(0, 0.5);
    graphics.DispatchMouseDown(300, 242, {.left = true});
    graphics.DispatchMouseDrag(300, 242 - 94, {.left = true});
    EXPECT_DOUBLE_EQ(knob.Value(), 0.75);
    graphics.DispatchMouseDrag(300, 242 - 188, {.left = true, .shift = true});
    EXPECT_DOUBLE_EQ(knob.Value(), 0.775);
    graphics.DispatchMouseDrag(300, 242 - 94, {.left = true, .ctrl = true});
    EXPECT_DOUBLE_EQ(knob.Value(), 0.75);
    graphics.DispatchMouseDrag(300, 242 + 400, {.left = true});
    EXPECT_EQ(knob.Value(), 0.0) << "clamped";
    graphics.DispatchMouseUp(300, 242 + 400, {});
    EXPECT_EQ(plug.edits, (std::vector<std::string>{"b0", "p0", "p0", "p0", "p0", "p0", "e0"}));
    EXPECT_EQ(Normalized(0), 0.0);

    settings.drag = IAxis::Horizontal;
    IKnobRotVal& sideways = AddKnob(1, 100, 100, Bitmap(40, 40));
    graphics.DispatchMouseDown(100, 100, {.left = true});
    graphics.DispatchMouseDrag(140, 60, {.left = true});
    EXPECT_DOUBLE_EQ(sideways.Value(), 0.25) << "only the horizontal movement counts";
}

TEST_F(Knob, SteppedKnobSnapsOnlyWhenReleased) {
    settings.stepCount = 6;
    IKnobRotVal& knob = AddKnob(0, 100, 100, Bitmap(40, 40));
    graphics.DispatchMouseDown(100, 100, {.left = true});
    graphics.DispatchMouseDrag(100, 100 - 14, {.left = true});
    EXPECT_NEAR(knob.Value(), 14.0 / 42 / 4, 1e-12) << "free while dragged";
    knob.SetValue(0.33);
    graphics.DispatchMouseUp(100, 100, {});
    EXPECT_DOUBLE_EQ(knob.Value(), 0.4);
    EXPECT_DOUBLE_EQ(plug.ParamAt(0)->Value(), 4.0);

    settings.stepCount = 0;
    IKnobRotVal& free = AddKnob(1, 200, 100, Bitmap(40, 40));
    graphics.DispatchMouseDown(200, 100, {.left = true});
    free.SetValue(0.33);
    graphics.DispatchMouseUp(200, 100, {});
    EXPECT_DOUBLE_EQ(free.Value(), 0.33);
}

TEST_F(Knob, WheelStepsAndDoubleClickReturnsToTheFirstHostValue) {
    IKnobRotVal& knob = AddKnob(0, 100, 100, Bitmap(40, 40));
    FromHost(0, 0.5);
    graphics.DispatchMouseWheel(100, 100, {}, 3);
    EXPECT_NEAR(knob.Value(), 0.53, 1e-6);
    graphics.DispatchMouseWheel(100, 100, {.shift = true}, -1);
    EXPECT_NEAR(knob.Value(), 0.529, 1e-6);
    graphics.DispatchDoubleClick(100, 100, {.left = true});
    EXPECT_EQ(knob.Value(), 0.5);
    EXPECT_DOUBLE_EQ(plug.ParamAt(0)->Value(), 5.0);
}

TEST_F(Knob, PointerTurnsWithTheValueAndRestsUprightInTheMiddle) {
    AddKnob(0, 100, 100, Pointer(21));
    const auto pointerAt = [&](double value, int dx, int dy) {
        FromHost(0, value);
        Paint();
        return IsRed(Pixel(100 + dx, 100 + dy));
    };
    EXPECT_TRUE(pointerAt(0.5, 0, -7));
    EXPECT_FALSE(pointerAt(0.5, -3, 5));
    EXPECT_TRUE(pointerAt(0.0, -3, 5)) << "turned back by half the sweep";
    EXPECT_FALSE(pointerAt(0.0, 0, -7));
    EXPECT_TRUE(pointerAt(1.0, 3, 5)) << "turned on by half the sweep";
    EXPECT_TRUE(pointerAt(0.75, 7, -2)) << "a quarter of the way on: 75 degrees";
}

TEST_F(Knob, SplitKnobTurnsItsCapOverTheFixedBodyWhichHoveringDims) {
    // The cap is cached as the left half of a split bitmap; the body carries its id.
    constexpr int kCapId = -7001;
    IBitmapCache::Instance().Add(MakePointer(20, 0), kCapId);
    IBitmapRef body = Bitmap(20, 20, 1, {kBlue});
    body.id = kCapId;
    IKnobRotVal& knob = AddKnob(0, 50, 50, body);
    EXPECT_EQ(knob.Rect(), (IBox{40, 40, 60, 62}));
    FromHost(0, 0.5);
    Paint();
    EXPECT_TRUE(IsRed(Pixel(50, 43)));
    EXPECT_EQ(Pixel(42, 58), kBlue);

    graphics.DispatchMouseOver(50, 50, {});
    Paint();
    EXPECT_NEAR(Alpha(Pixel(42, 58)), 0.85 * 255, 1.0);
    EXPECT_EQ(Alpha(Pixel(50, 43)), 255) << "the cap stays at full weight";
}

TEST_F(Knob, HoverRepaintsOnEnteringAndLeaving) {
    IKnobRotVal& knob = AddKnob(0, 100, 100, Bitmap(40, 40));
    Paint();
    graphics.DispatchMouseOver(100, 100, {});
    EXPECT_TRUE(knob.IsDirty());
    EXPECT_EQ(plug.statusTexts, std::vector<int>{0});
    knob.MarkClean();
    graphics.DispatchMouseOver(101, 100, {});
    EXPECT_FALSE(knob.IsDirty()) << "moving within the knob changes nothing";
    graphics.DispatchMouseOut();
    EXPECT_TRUE(knob.IsDirty());
}

TEST_F(Knob, ValueLabelShowsTheDisplayTextAndOptionallyTheUnit) {
    const IBox band{60, 120, 140, 132};
    const auto labelPixels = [&](bool showUnit) {
        settings.showUnit = showUnit;
        settings.width = 80;
        while (graphics.ControlCount() > 0) graphics.RemoveControl(graphics.ControlAtIndex(0));
        EXPECT_EQ(LabelBand(AddKnob(4, 100, 100, Bitmap(40, 36, 1, {0}), 12).Rect(), 12), band);
        Paint();
        return PixelsIn(graphics, band);
    };
    const auto textPixels = [&](const char* text) {
        IGraphics reference(plug, 600, 475);
        reference.PrepareDraw();
        ITextStyle style = LabelStyle(12);
        style.align = ITextAlign::Centre;
        reference.AddControl(std::make_unique<ITextControl>(plug, band, style, text));
        reference.DrawDirty({0, 0, 600, 475});
        return PixelsIn(reference, band);
    };
    ASSERT_NE(textPixels("-10.0 dB"), textPixels("-10.0"));
    EXPECT_EQ(labelPixels(true), textPixels("-10.0 dB"));
    EXPECT_EQ(labelPixels(false), textPixels("-10.0"));
}
