#include "gui/IBitmapCache.h"
#include "gui/IResourceBitmap.h"
#include "resources/CursorHotspots.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace {

struct Expected {
    std::int32_t id;
    int width;
    int height;
    int frames;
};

// Every picture the editor loads, with the size and frame count its layout is built on.
constexpr Expected kPictures[] = {
    {100, 600, 475, 1}, {101, 32, 41, 1},  {102, 57, 32, 2}, {103, 184, 92, 1},
    {104, 128, 64, 1},  {105, 96, 48, 1},  {106, 27, 27, 1}, {107, 16, 16, 1},
    {108, 16, 16, 1},   {109, 54, 245, 7}, {98, 32, 32, 1},  {99, 32, 32, 1},
};

raster::Raster& Cached(std::int32_t id) {
    IBitmapCache& cache = IBitmapCache::Instance();
    raster::Raster* raster = cache.Find(id);
    if (raster == nullptr) raster = cache.Add(LoadResourceBitmap(id), id);
    EXPECT_NE(raster, nullptr) << "resource " << id;
    static raster::Raster empty;
    return raster != nullptr ? *raster : empty;
}

int Alpha(const raster::Raster& r, int x, int y) {
    return static_cast<int>(r.PixelAt(x, y) >> 24);
}

int Brightness(const raster::Raster& r, int x, int y) {
    const std::uint32_t p = r.PixelAt(x, y);
    return static_cast<int>(((p >> 16) & 0xFF) + ((p >> 8) & 0xFF) + (p & 0xFF)) / 3;
}

// True when frame a and frame b of a vertical strip differ in some pixel.
bool FramesDiffer(const raster::Raster& r, int frameHeight, int a, int b) {
    for (int y = 0; y < frameHeight; ++y) {
        for (int x = 0; x < r.Width(); ++x) {
            if (r.PixelAt(x, a * frameHeight + y) != r.PixelAt(x, b * frameHeight + y)) return true;
        }
    }
    return false;
}

TEST(ArtworkResources, EveryPictureDecodesThroughTheCacheAtItsSizeAndFrameLayout) {
    for (const Expected& e : kPictures) {
        SCOPED_TRACE(e.id);
        raster::Raster& r = Cached(e.id);
        EXPECT_EQ(&r, IBitmapCache::Instance().Find(e.id));
        EXPECT_EQ(r.Width(), e.width);
        EXPECT_EQ(r.Height(), e.height);
        EXPECT_EQ(r.Height() % e.frames, 0);
    }
}

TEST(ArtworkResources, BackgroundCoversTheWholeEditor) {
    const raster::Raster& bg = Cached(100);
    for (int y = 0; y < bg.Height(); ++y) {
        for (int x = 0; x < bg.Width(); ++x) ASSERT_EQ(Alpha(bg, x, y), 255) << x << "," << y;
    }
}

TEST(ArtworkResources, KnobCapsTurnCleanlyWithTheirPointerUp) {
    for (const std::int32_t id : {103, 104, 105}) {
        SCOPED_TRACE(id);
        const raster::Raster& knob = Cached(id);
        const int size = knob.Height();
        // Both halves are round: their corners stay clear, so no square shows when turned.
        for (const int left : {0, size}) {
            EXPECT_EQ(Alpha(knob, left, 0), 0);
            EXPECT_EQ(Alpha(knob, left + size - 1, size - 1), 0);
        }
        // The cap is opaque where it covers the body, and its pointer is the brightest mark,
        // straight up at the middle value.
        EXPECT_EQ(Alpha(knob, size / 2, size * 3 / 4), 255);
        const int pointer = Brightness(knob, size / 2, size / 4);
        EXPECT_GT(pointer, 200);
        EXPECT_GT(pointer, Brightness(knob, size / 4, size / 2) + 100);
        EXPECT_GT(pointer, Brightness(knob, size / 2, size * 3 / 4) + 100);
    }
}

TEST(ArtworkResources, StripFramesShowDifferentStates) {
    const raster::Raster& waves = Cached(109);
    for (int frame = 0; frame + 1 < 7; ++frame) {
        EXPECT_TRUE(FramesDiffer(waves, 35, frame, frame + 1)) << frame;
    }
    EXPECT_TRUE(FramesDiffer(Cached(102), 16, 0, 1));
}

TEST(ArtworkResources, CursorHotspotsSitOnTheDrawnPointer) {
    for (const CursorHotspot& h : kCursorHotspots) {
        SCOPED_TRACE(h.id);
        const raster::Raster& cursor = Cached(h.id);
        ASSERT_EQ(cursor.Width(), kCursorSize);
        EXPECT_GT(Alpha(cursor, h.x, h.y), 128);
        EXPECT_EQ(FindCursorHotspot(h.id), &h);
    }
    EXPECT_EQ(FindCursorHotspot(100), nullptr);
}

} // namespace
