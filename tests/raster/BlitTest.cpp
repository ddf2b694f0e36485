#include "Pixels.h"

#include "raster/Blit.h"

#include <gtest/gtest.h>

#include <numbers>

using namespace raster;

namespace {

constexpr Argb kGround = PackArgb(255, 0, 0, 0);

// A source whose every pixel is distinct: red = x, green = y.
void PaintGradient(Raster& raster) {
    std::uint32_t* pixels = raster.Pixels();
    for (int y = 0; y < raster.Height(); ++y) {
        for (int x = 0; x < raster.Width(); ++x) {
            pixels[y * raster.Stride() + x] = PackArgb(255, x, y, 0);
        }
    }
    raster.MarkDirty();
}

TEST(Blit, ClipsToBothRastersAndKeepsTheRestInPlace) {
    Raster source(8, 8);
    PaintGradient(source);
    Raster target(6, 6);
    target.Clear(kGround);
    // Starts 2 left of and 1 above the target, and reads 1 column left of the source.
    Blit(target, -2, -1, source, -1, 3, 10, 10, {BlendMode::Copy, 1.0f});
    // Target (0,0) is block (2,1) = source (1,4); the source's column -1 was left out.
    EXPECT_EQ(target.PixelAt(0, 0), PackArgb(255, 1, 4, 0));
    EXPECT_EQ(target.PixelAt(5, 3), PackArgb(255, 6, 7, 0));
    // Source rows run out at y = 7, which is target row 3.
    EXPECT_EQ(target.PixelAt(2, 4), kGround);
    // Entirely outside: nothing happens, nothing breaks.
    Blit(target, 50, 50, source, 0, 0, 8, 8);
    Blit(target, 0, 0, source, 8, 0, 8, 8);
    Blit(target, 0, 0, source, 0, 0, -4, 4);
    EXPECT_EQ(target.PixelAt(5, 5), kGround);
}

TEST(Blit, OverlappingCopyWithinOneRasterReadsTheOriginalPixels) {
    Raster raster(6, 1);
    PaintGradient(raster);
    Blit(raster, 1, 0, raster, 0, 0, 5, 1, {BlendMode::Copy, 1.0f});
    for (int x = 1; x < 6; ++x) EXPECT_EQ(raster.PixelAt(x, 0), PackArgb(255, x - 1, 0, 0));
}

TEST(BlitRotated, QuarterTurnIsClockwiseAndUnturnedCopyIsExact) {
    Raster source(8, 8);
    source.Clear(PackArgb(255, 0, 0, 255));
    Raster marker(2, 2);
    marker.Clear(PackArgb(255, 255, 0, 0));
    Blit(source, 1, 1, marker, 0, 0, 2, 2);

    Raster plain(8, 8), turned(8, 8);
    BlitRotated(plain, {0, 0, 8, 8}, source, {0, 0, 8, 8}, 0.0);
    BlitRotated(turned, {0, 0, 8, 8}, source, {0, 0, 8, 8}, std::numbers::pi / 2);
    for (int y = 0; y < 8; ++y) {
        for (int x = 0; x < 8; ++x) ASSERT_EQ(plain.PixelAt(x, y), source.PixelAt(x, y));
    }
    // Top left (1..2, 1..2) turns to top right (5..6, 1..2).
    EXPECT_TRUE(Near(Px::At(turned, 5, 1), {255, 255, 0, 0}, 2)) << Px::At(turned, 5, 1);
    EXPECT_TRUE(Near(Px::At(turned, 6, 2), {255, 255, 0, 0}, 2)) << Px::At(turned, 6, 2);
    EXPECT_TRUE(Near(Px::At(turned, 1, 1), {255, 0, 0, 255}, 2)) << Px::At(turned, 1, 1);
}

TEST(BlitRotated, ScalesAndFiltersFractionalSourceRectangles) {
    Raster source(2, 1);
    source.Pixels()[0] = PackArgb(255, 0, 0, 0);
    source.Pixels()[1] = PackArgb(255, 200, 0, 0);
    source.MarkDirty();

    // Half a pixel into the source: the sample falls midway between the two pixels.
    Raster shifted(1, 1);
    BlitRotated(shifted, {0, 0, 1, 1}, source, {0.5, 0, 1, 1}, 0.0);
    EXPECT_TRUE(Near(Px::At(shifted, 0, 0), {255, 100, 0, 0}, 2)) << Px::At(shifted, 0, 0);

    // Twice the size: the outer pixels keep the source values, the edges take a blend.
    Raster doubled(4, 2);
    BlitRotated(doubled, {0, 0, 4, 2}, source, {0, 0, 2, 1}, 0.0, {}, Filter::Nearest);
    EXPECT_EQ(doubled.PixelAt(1, 1), source.PixelAt(0, 0));
    EXPECT_EQ(doubled.PixelAt(2, 0), source.PixelAt(1, 0));

    // Source points beyond the raster read as transparent, not as the edge pixels.
    Raster beyond(1, 1);
    BlitRotated(beyond, {0, 0, 1, 1}, source, {-1, 0, 1, 1}, 0.0, {BlendMode::Copy, 1.0f});
    EXPECT_EQ(Px::At(beyond, 0, 0).a, 0);
}

TEST(BlitRotated, PaintsOnlyTheDestinationRectangle) {
    Raster source(10, 10), target(20, 20);
    source.Clear(PackArgb(255, 255, 255, 255));
    BlitRotated(target, {5, 5, 10, 10}, source, {0, 0, 10, 10}, std::numbers::pi / 4);
    const InkBox ink = FindInk(target);
    EXPECT_EQ(ink.left, 5);
    EXPECT_EQ(ink.top, 5);
    EXPECT_EQ(ink.right, 15);
    EXPECT_EQ(ink.bottom, 15);
    // The turned square's corners fall outside the rectangle; its middle fills it.
    EXPECT_EQ(Px::At(target, 10, 10).a, 255);
    EXPECT_EQ(Px::At(target, 5, 5).a, 0);
}

TEST(BlitRotated, BlendsWithTheModeAndWeight) {
    Raster source(4, 4), target(4, 4);
    source.Clear(PackArgb(255, 200, 200, 200));
    target.Clear(PackArgb(255, 0, 0, 0));
    BlitRotated(target, {0, 0, 4, 4}, source, {0, 0, 4, 4}, 0.0, {BlendMode::AlphaCopy, 0.5f});
    EXPECT_TRUE(Near(Px::At(target, 2, 2), {255, 100, 100, 100}, 1)) << Px::At(target, 2, 2);
}

} // namespace
