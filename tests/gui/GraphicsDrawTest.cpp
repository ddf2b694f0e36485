#include "tests/gui/GuiFakes.h"

#include "raster/Raster.h"

#include <gtest/gtest.h>

namespace {

// Resources of this test program (tests/gui/CMakeLists.txt).
constexpr int kStrip = 900; // 8 x 4, pixel (x, y) = (x * 30, y * 60, 200), opaque
constexpr int kNotAPng = 901;
constexpr int kMissing = 902;

uint32_t StripPixel(int x, int y) {
    return 0xFF000000u | uint32_t(x * 30) << 16 | uint32_t(y * 60) << 8 | 200u;
}

struct Draw : ::testing::Test {
    GuiTestEffect plug;
    IGraphics graphics{plug, 40, 30};

    void SetUp() override { graphics.PrepareDraw(); }
    uint32_t Pixel(int x, int y) const { return graphics.DrawRaster()->PixelAt(x, y); }
    // Starts a paint of the area with no controls, as DrawDirty would from a control's Draw.
    void Painting(const IBox& area) { graphics.DrawDirty(area); }
    static int Red(uint32_t pixel) { return int(pixel >> 16 & 0xFF); }
    static int Alpha(uint32_t pixel) { return int(pixel >> 24); }
};

// A control that paints through a callback, so tests draw inside a real paint pass.
class Painter : public IControl {
public:
    Painter(IEffectBase& plug, std::function<void(IGraphics&)> paint)
        : IControl(plug, {0, 0, 40, 30}), paint_(std::move(paint)) {}
    bool Draw(IGraphics& graphics) override {
        paint_(graphics);
        return true;
    }

private:
    std::function<void(IGraphics&)> paint_;
};

} // namespace

TEST_F(Draw, BitmapsAreClippedToThePaintedAreaWithTheSourceFollowing) {
    const IBitmapRef strip = graphics.LoadBitmap(kStrip, "strip", 1);
    ASSERT_NE(strip.raster, nullptr);
    EXPECT_EQ(strip.width, 8);
    EXPECT_EQ(strip.height, 4);
    EXPECT_EQ(graphics.LoadBitmap(kStrip, "strip", 2).raster, strip.raster) << "decoded once";

    graphics.AddControl(std::make_unique<Painter>(plug, [&](IGraphics& g) {
        const IBlendSpec copy{IBlendMode::Copy, 1.0f};
        g.DrawBitmap(strip, {10, 10, 18, 14}, 0, 0, &copy);
    }));
    graphics.DrawDirty({13, 11, 40, 30});
    EXPECT_EQ(Pixel(13, 11), StripPixel(3, 1));
    EXPECT_EQ(Pixel(17, 13), StripPixel(7, 3));
    EXPECT_EQ(Pixel(12, 11), 0u) << "left of the painted area";
    EXPECT_EQ(Pixel(13, 10), 0u) << "above the painted area";
}

TEST_F(Draw, FramesAreFoundAlongTheStrip) {
    IBitmapRef strip = graphics.LoadBitmap(kStrip, "strip", 2);
    graphics.AddControl(std::make_unique<Painter>(plug, [&](IGraphics& g) {
        g.DrawBitmapFrame(strip, {0, 0, 8, 2}, 2, nullptr, true);
        g.DrawBitmapFrame(strip, {0, 10, 4, 14}, 2, nullptr, false);
        g.DrawBitmapFrame(strip, {20, 0, 28, 2}, 0, nullptr, true);
    }));
    graphics.DrawDirty({0, 0, 40, 30});
    EXPECT_EQ(Pixel(0, 0), StripPixel(0, 2));
    EXPECT_EQ(Pixel(0, 10), StripPixel(4, 0));
    EXPECT_EQ(Pixel(20, 0), StripPixel(0, 0)) << "frames below 2 draw from the origin";
}

TEST_F(Draw, SplittingKeepsTheLeftHalfInTheCacheForEveryEditor) {
    IBitmapRef knob = graphics.LoadBitmap(kStrip, "knob", 1);
    const IBitmapRef left = graphics.SplitBitmap(knob, 0.5);
    EXPECT_EQ(left.width, 4);
    EXPECT_EQ(left.id, 0);
    EXPECT_EQ(knob.width, 4);
    EXPECT_EQ(knob.id, -2);
    EXPECT_EQ(left.raster->PixelAt(3, 1), StripPixel(3, 1));
    EXPECT_EQ(knob.raster->PixelAt(0, 1), StripPixel(4, 1));
    EXPECT_EQ(graphics.BitmapById(-2).raster, left.raster);
    IBitmapRef again = graphics.LoadBitmap(kStrip, "knob", 1);
    graphics.SplitBitmap(again, 0.25);
    EXPECT_EQ(again.id, -3);

    IGraphics second(plug, 40, 30);
    IBitmapRef other = second.LoadBitmap(kStrip, "knob", 1);
    EXPECT_EQ(second.SplitBitmap(other, 0.5).raster, left.raster);
    EXPECT_EQ(second.BitmapById(-99).raster, nullptr);
}

TEST_F(Draw, BadOrMissingResourcesLeaveAnEditorThatStillPaints) {
    EXPECT_EQ(graphics.LoadBitmap(kNotAPng, "bad", 1).raster, nullptr);
    IBitmapRef missing = graphics.LoadBitmap(kMissing, "missing", 3);
    EXPECT_EQ(missing.raster, nullptr);
    EXPECT_EQ(graphics.SplitBitmap(missing, 0.5).raster, nullptr);
    graphics.AddBackground(kMissing, "background");
    ASSERT_EQ(graphics.ControlCount(), 1);
    EXPECT_TRUE(graphics.ControlAtIndex(0)->Rect().Empty());
    EXPECT_TRUE(graphics.DrawDirty({0, 0, 40, 30}));
    EXPECT_FALSE(graphics.DrawBitmap(missing, {0, 0, 4, 4}, 0, 0, nullptr));
}

TEST_F(Draw, BackgroundIsAPlainCopyAtIndexZero) {
    graphics.AddControl(std::make_unique<Painter>(plug, [](IGraphics&) {}));
    graphics.AddBackground(kStrip, "background");
    ASSERT_EQ(graphics.ControlCount(), 2);
    EXPECT_EQ(graphics.ControlAtIndex(0)->Rect(), (IBox{0, 0, 8, 4}));
    EXPECT_EQ(graphics.ControlAtIndex(0)->Blend().mode, IBlendMode::Copy);
    EXPECT_EQ(graphics.ControlAtIndex(0)->ParamIndex(), -1);
}

TEST_F(Draw, BlendModesReachTheRaster) {
    graphics.AddControl(std::make_unique<Painter>(plug, [](IGraphics& g) {
        const IArgb grey{255, 100, 100, 100};
        for (int x : {0, 10, 20, 30}) g.FillRect(grey, {x, 0, x + 10, 10}, nullptr);
        const IArgb half{128, 200, 0, 0};
        const IBlendSpec copy{IBlendMode::Copy, 1.0f};
        const IBlendSpec add{IBlendMode::Additive, 1.0f};
        const IBlendSpec unknown{static_cast<IBlendMode>(7), 1.0f};
        g.FillRect(half, {0, 0, 10, 10}, &copy);
        g.FillRect(half, {10, 0, 20, 10}, &add);
        g.FillRect(half, {20, 0, 30, 10}, &unknown);
        g.FillRect(half, {30, 0, 40, 10}, nullptr);
    }));
    graphics.DrawDirty({0, 0, 40, 30});
    EXPECT_EQ(Alpha(Pixel(5, 5)), 128) << "a plain copy writes the colour's alpha";
    EXPECT_NEAR(Red(Pixel(15, 5)), 200, 2) << "additive: 100 + 200 x 0.5";
    EXPECT_NEAR(Red(Pixel(25, 5)), 150, 2) << "unknown modes blend like alpha";
    EXPECT_EQ(Pixel(35, 5), Pixel(25, 5));
}

TEST_F(Draw, LinesTakeTheirOpacityFromTheColourAlone) {
    graphics.AddControl(std::make_unique<Painter>(plug, [](IGraphics& g) {
        g.FillRect({255, 0, 0, 0}, {0, 0, 40, 30}, nullptr);
        const IBlendSpec faint{IBlendMode::Alpha, 0.1f};
        g.DrawLine({128, 255, 255, 255}, 2, 5, 30, 5, &faint, false);
        g.DrawThickLine({255, 255, 255, 255}, 2, 15, 30, 15, 2.0f, &faint, false);
    }));
    graphics.DrawDirty({0, 0, 40, 30});
    EXPECT_NEAR(Red(Pixel(10, 5)), 128, 2);
    // Each pass of a two-pixel line adds a tenth of white; a few passes overlap mid-line.
    EXPECT_GT(Red(Pixel(10, 15)), 20);
    EXPECT_LT(Red(Pixel(10, 15)), 100) << "thick lines take the blend's weight";
}

TEST_F(Draw, RoundedBoxesFillTheChosenCorners) {
    const IArgb white{255, 255, 255, 255};
    graphics.AddControl(std::make_unique<Painter>(plug, [&](IGraphics& g) {
        g.FillRoundedBox(white, {0, 0, 20, 12}, 4, 2, nullptr, false);
        g.FillRoundedBox(white, {20, 0, 40, 12}, 4, 7, nullptr, false);
        const IBlendSpec quarter{IBlendMode::Alpha, 0.25f};
        g.FillRoundedBox(white, {0, 14, 20, 30}, 4, 4, &quarter, false);
    }));
    graphics.DrawDirty({0, 0, 40, 30});
    EXPECT_EQ(Alpha(Pixel(0, 0)), 0) << "rounded top corner";
    EXPECT_EQ(Alpha(Pixel(0, 11)), 255) << "square bottom corner";
    EXPECT_EQ(Alpha(Pixel(10, 0)), 255);
    EXPECT_EQ(Alpha(Pixel(30, 6)), 0) << "an unknown corner choice draws nothing";
    EXPECT_NEAR(Alpha(Pixel(3, 16)), Alpha(Pixel(10, 22)), 2) << "one opacity throughout";
}

TEST_F(Draw, TextNeedsAFontAndSomethingToSay) {
    ITextStyle style("Arial", 14, {255, 255, 255, 255});
    ITextStyle recoloured("Arial", 14, {120, 10, 200, 30}, 0, ITextAlign::Right);
    bool drew = false;
    graphics.AddControl(std::make_unique<Painter>(plug, [&](IGraphics& g) {
        drew = g.DrawText(style, "Hz", {0, 0, 40, 20});
        EXPECT_TRUE(g.DrawText(style, "", {0, 0, 40, 20}));
        EXPECT_TRUE(g.DrawText(style, nullptr, {0, 0, 40, 20}));
    }));
    graphics.DrawDirty({0, 0, 40, 30});
    EXPECT_TRUE(drew);
    ASSERT_NE(style.font, nullptr);
    EXPECT_EQ(graphics.FontForStyle(recoloured), style.font) << "colour and alignment share";
    int lit = 0;
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 40; ++x) lit += Alpha(Pixel(x, y)) > 0;
    EXPECT_GT(lit, 10);
}

TEST_F(Draw, RotatedCopyAtZeroIsCentredOnThePoint) {
    const IBitmapRef strip = graphics.LoadBitmap(kStrip, "strip", 1);
    graphics.AddControl(std::make_unique<Painter>(
        plug, [&](IGraphics& g) { g.DrawBitmapRotated(strip, 20, 15, 0.0, nullptr, 0.0, 0.0); }));
    graphics.DrawDirty({0, 0, 40, 30});
    EXPECT_EQ(Pixel(16, 13), StripPixel(0, 0));
    EXPECT_EQ(Pixel(23, 16), StripPixel(7, 3));
    EXPECT_EQ(Pixel(15, 13), 0u);
}
