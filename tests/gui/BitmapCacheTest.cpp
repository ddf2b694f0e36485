#include "gui/IBitmapCache.h"
#include "gui/IResourceBitmap.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

namespace {

// What an editor does for each bitmap it opens with: look up, and decode and add on a miss.
raster::Raster* OpenBitmap(IBitmapCache& cache, int id, std::atomic<int>& decodes) {
    if (raster::Raster* cached = cache.Find(id)) return cached;
    ++decodes;
    return cache.Add(LoadResourceBitmap(id), id);
}

TEST(BitmapCache, ASecondEditorGetsTheRasterTheFirstDecoded) {
    IBitmapCache cache;
    std::atomic<int> decodes = 0;
    raster::Raster* first = OpenBitmap(cache, 100, decodes);
    ASSERT_TRUE(first);
    EXPECT_EQ(OpenBitmap(cache, 100, decodes), first);
    EXPECT_EQ(decodes, 1);
    EXPECT_EQ(cache.Find(100), first);
    EXPECT_EQ(cache.Find(-2), nullptr);
}

TEST(BitmapCache, TheFirstRasterAddedUnderAnIdStaysItsRaster) {
    IBitmapCache cache;
    raster::Raster* first = cache.Add(std::make_unique<raster::Raster>(2, 2), -2);
    raster::Raster* again = cache.Add(std::make_unique<raster::Raster>(5, 5), -2);
    EXPECT_EQ(again, first);
    EXPECT_EQ(cache.Find(-2)->Width(), 2);
    // A failed decode adds nothing, and a later good one still can.
    EXPECT_EQ(cache.Add(nullptr, 7), nullptr);
    EXPECT_EQ(cache.Find(7), nullptr);
    raster::Raster* seven = cache.Add(std::make_unique<raster::Raster>(1, 1), 7);
    EXPECT_EQ(cache.Find(7), seven);
}

TEST(BitmapCache, EditorsOpeningTogetherEndUpWithOneRaster) {
    IBitmapCache cache;
    std::atomic<int> decodes = 0;
    constexpr int kEditors = 6;
    std::vector<raster::Raster*> seen(kEditors);
    std::vector<std::thread> editors;
    for (int e = 0; e < kEditors; ++e) {
        editors.emplace_back([&, e] { seen[e] = OpenBitmap(cache, 100, decodes); });
    }
    for (std::thread& editor : editors) editor.join();
    ASSERT_TRUE(seen[0]);
    for (raster::Raster* raster : seen) EXPECT_EQ(raster, seen[0]);
    EXPECT_EQ(cache.Find(100), seen[0]);
    EXPECT_GE(decodes, 1);
}

TEST(BitmapCache, TheProcessHasOneCache) {
    EXPECT_EQ(&IBitmapCache::Instance(), &IBitmapCache::Instance());
}

} // namespace
