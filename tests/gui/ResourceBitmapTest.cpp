#include "gui/IResourceBitmap.h"
#include "platform/Resources.h"

#include <gtest/gtest.h>

namespace {

TEST(ResourceBitmap, DecodesTheCompiledInPng) {
    const auto raster = LoadResourceBitmap(100);
    ASSERT_TRUE(raster);
    EXPECT_EQ(raster->Width(), 3);
    EXPECT_EQ(raster->Height(), 2);
    EXPECT_EQ(raster->PixelAt(0, 0), 0xFFFF0000u);
    EXPECT_EQ(raster->PixelAt(0, 1), 0x00000000u);
    EXPECT_EQ(raster->PixelAt(2, 1), 0xFF0A141Eu);
}

TEST(ResourceBitmap, OnlyTheLow16BitsOfTheIdCount) {
    EXPECT_EQ(FindResource(100 + 0x30000).data(), FindResource(100).data());
    const auto raster = LoadResourceBitmap(100 + 0x10000);
    ASSERT_TRUE(raster);
    EXPECT_EQ(raster->Width(), 3);
}

TEST(ResourceBitmap, MissingShortAndForeignResourcesGiveNoRaster) {
    EXPECT_TRUE(FindResource(105).empty());
    EXPECT_EQ(FindResource(104).size(), 0u);
    EXPECT_EQ(FindResource(101).size(), 5u);
    for (const int id : {101, 102, 104, 105, 0, -1}) {
        EXPECT_FALSE(LoadResourceBitmap(id)) << "id " << id;
    }
}

// The header is read at once and the rows only when the pixels are wanted: a picture whose rows
// are cut off has its size, and is transparent.
TEST(ResourceBitmap, TruncatedRowsLeaveTheRasterTransparent) {
    const auto raster = LoadResourceBitmap(103);
    ASSERT_TRUE(raster);
    ASSERT_GT(raster->Width(), 0);
    ASSERT_GT(raster->Height(), 0);
    for (int y = 0; y < raster->Height(); ++y) {
        for (int x = 0; x < raster->Width(); ++x) ASSERT_EQ(raster->PixelAt(x, y), 0u);
    }
}

} // namespace
