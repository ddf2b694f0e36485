#include "Pixels.h"

#include "raster/Blit.h"
#include "raster/Font.h"
#include "raster/Shapes.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

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

// A fill that paints every pixel one colour and counts its runs.
Raster::Fill Painting(std::uint32_t colour, std::atomic<int>& runs) {
    return [colour, &runs](std::uint32_t* pixels, int stride) {
        ++runs;
        for (int y = 0; y < 2; ++y)
            for (int x = 0; x < 3; ++x) pixels[y * stride + x] = colour;
    };
}

TEST(Raster, DeferredPixelsAreFilledOnceOnFirstUse) {
    const std::uint32_t red = PackArgb(255, 200, 0, 0);
    std::atomic<int> runs = 0;
    auto read = Raster::Deferred(3, 2, Painting(red, runs));
    EXPECT_EQ(read->Width(), 3);
    EXPECT_EQ(read->Height(), 2);
    EXPECT_EQ(runs, 0) << "the size needs no pixels";
    EXPECT_EQ(read->PixelAt(2, 1), red);
    EXPECT_EQ(read->PixelAt(0, 0), red);
    EXPECT_EQ(runs, 1);

    // Drawn from and drawn into, the fill comes first.
    auto source = Raster::Deferred(3, 2, Painting(red, runs));
    Raster target(3, 2);
    Blit(target, 0, 0, *source, 0, 0, 3, 2);
    EXPECT_EQ(target.PixelAt(1, 1), red);
    auto drawnInto = Raster::Deferred(3, 2, Painting(red, runs));
    FillRect(*drawnInto, {0, 0, 1, 1}, PackArgb(255, 0, 0, 255));
    EXPECT_EQ(drawnInto->PixelAt(0, 0), PackArgb(255, 0, 0, 255));
    EXPECT_EQ(drawnInto->PixelAt(2, 1), red);
    EXPECT_EQ(runs, 3);

    // New content replaces the fill.
    auto resized = Raster::Deferred(3, 2, Painting(red, runs));
    ASSERT_TRUE(resized->Resize(3, 2));
    EXPECT_EQ(resized->PixelAt(1, 1), 0u);
    EXPECT_EQ(runs, 3);

    EXPECT_EQ(Raster::Deferred(3, 2, nullptr)->PixelAt(1, 1), 0u);
    EXPECT_EQ(Raster::Deferred(0, 2, Painting(red, runs))->Width(), 0);
    EXPECT_EQ(runs, 3);
}

// Editors on several threads may draw a cached bitmap first at the same moment.
TEST(Raster, DeferredPixelsAreFilledOnceForSeveralThreads) {
    const std::uint32_t green = PackArgb(255, 0, 180, 0);
    std::atomic<int> runs = 0;
    auto bitmap = Raster::Deferred(3, 2, Painting(green, runs));
    std::vector<std::uint32_t> seen(4);
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([&, t] {
            Raster target(3, 2);
            Blit(target, 0, 0, *bitmap, 0, 0, 3, 2);
            seen[t] = target.PixelAt(2, 1);
        });
    }
    for (std::thread& thread : threads) thread.join();
    EXPECT_EQ(runs, 1);
    for (std::uint32_t pixel : seen) EXPECT_EQ(pixel, green);
}

} // namespace
