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

TEST(ResourceBitmap, MissingShortForeignAndDamagedResourcesGiveNoRaster) {
    EXPECT_TRUE(FindResource(105).empty());
    EXPECT_EQ(FindResource(104).size(), 0u);
    EXPECT_EQ(FindResource(101).size(), 5u);
    for (const int id : {101, 102, 103, 104, 105, 0, -1}) {
        EXPECT_FALSE(LoadResourceBitmap(id)) << "id " << id;
    }
}

} // namespace
