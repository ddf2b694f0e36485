#include "Pixels.h"

#include "raster/Blit.h"
#include "raster/Font.h"
#include "raster/Shapes.h"

#include <gtest/gtest.h>

using namespace raster;

namespace {

TEST(Raster, ResizeClearsAndImpossibleSizesLeaveAnEmptyRaster) {
    Raster raster(3, 2);
    EXPECT_EQ(raster.Width(), 3);
    EXPECT_GE(raster.Stride(), 3);
    raster.Clear(PackArgb(255, 1, 2, 3));
    EXPECT_EQ(raster.PixelAt(2, 1), PackArgb(255, 1, 2, 3));
    EXPECT_EQ(raster.PixelAt(3, 1), 0u);
    EXPECT_EQ(raster.PixelAt(-1, 0), 0u);

    ASSERT_TRUE(raster.Resize(5, 4));
    EXPECT_EQ(raster.Width(), 5);
    EXPECT_EQ(raster.Height(), 4);
    EXPECT_EQ(raster.PixelAt(2, 1), 0u);

    EXPECT_FALSE(raster.Resize(1 << 20, 1 << 20));
    EXPECT_EQ(raster.Width(), 0);
    EXPECT_EQ(raster.Height(), 0);
    EXPECT_EQ(raster.Pixels(), nullptr);
}

TEST(Raster, DrawingOnOrFromAnEmptyRasterDoesNothing) {
    Raster empty, target(4, 4);
    target.Clear(PackArgb(255, 9, 9, 9));
    Blit(empty, 0, 0, target, 0, 0, 4, 4);
    Blit(target, 0, 0, empty, 0, 0, 4, 4);
    BlitRotated(empty, {0, 0, 4, 4}, target, {0, 0, 4, 4}, 1.0);
    BlitRotated(target, {0, 0, 4, 4}, empty, {0, 0, 4, 4}, 1.0);
    Line(empty, 0, 0, 3, 3, PackArgb(255, 255, 255, 255));
    FillCircle(empty, 1, 1, 1, PackArgb(255, 255, 255, 255));
    FillQuarterDisc(empty, 1, 1, 1, Quadrant::TopLeft, PackArgb(255, 255, 255, 255));
    FillRect(empty, {0, 0, 4, 4}, PackArgb(255, 255, 255, 255));
    empty.Clear(PackArgb(255, 255, 255, 255));
    if (const auto font = Font::Create({"Arial", 12})) font->Draw(empty, "x", {0, 0, 9, 9}, 0);
    EXPECT_EQ(target.PixelAt(1, 1), PackArgb(255, 9, 9, 9));
}

} // namespace
