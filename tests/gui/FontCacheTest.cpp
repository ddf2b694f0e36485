#include "gui/IFontCache.h"

#include <gtest/gtest.h>

#include <thread>
#include <vector>

namespace {

const ITextStyle kStatus{"Arial", 14, {160, 255, 255, 255}, 0, ITextAlign::Centre};

TEST(FontCache, StylesDifferingOnlyInColourOrQualityShareAFont) {
    IFontCache cache;
    ITextStyle first = kStatus;
    ITextStyle other = kStatus;
    other.colour = {255, 0, 0, 0};
    other.quality = ITextQuality::NonAntialiased;
    other.align = ITextAlign::Right;
    raster::Font* font = cache.FontFor(first);
    ASSERT_TRUE(font);
    EXPECT_EQ(first.font, font);
    EXPECT_EQ(cache.FontFor(other), font);
    EXPECT_EQ(other.font, font);
}

TEST(FontCache, SizeOrientationStyleAndFaceEachMakeANewFont) {
    IFontCache cache;
    ITextStyle base = kStatus;
    raster::Font* font = cache.FontFor(base);
    ASSERT_TRUE(font);

    ITextStyle bigger = kStatus, turned = kStatus, bold = kStatus, otherCase = kStatus;
    bigger.size = 15;
    turned.orientation = 90;
    bold.style = kTextBold;
    otherCase.face = "arial"; // faces compare case-sensitively, though both resolve alike
    for (ITextStyle* style : {&bigger, &turned, &bold, &otherCase}) {
        EXPECT_EQ(cache.Find(*style), nullptr);
        raster::Font* made = cache.FontFor(*style);
        ASSERT_TRUE(made);
        EXPECT_NE(made, font);
        EXPECT_EQ(cache.Find(*style), made);
    }
    EXPECT_EQ(cache.Find(kStatus), font);
    EXPECT_GT(bold.font->Measure("Bold").width, base.font->Measure("Bold").width);
}

TEST(FontCache, StyleBitsAndQualityReachTheFont) {
    ITextStyle style = kStatus;
    style.size = 20;
    style.style = kTextBold | kTextItalic;
    const auto boldItalic = CreateFontForStyle(style);
    style.style = 0;
    const auto plain = CreateFontForStyle(style);
    ASSERT_TRUE(boldItalic && plain);
    EXPECT_NEAR(plain->CellHeight(), 20, 1);
    EXPECT_NE(boldItalic->Measure("Styled").width, plain->Measure("Styled").width);
}

TEST(FontCache, EditorsAskingTogetherShareOneFont) {
    IFontCache cache;
    constexpr int kEditors = 6;
    std::vector<raster::Font*> seen(kEditors);
    std::vector<std::thread> editors;
    for (int e = 0; e < kEditors; ++e) {
        editors.emplace_back([&, e] {
            ITextStyle style = kStatus;
            seen[e] = cache.FontFor(style);
        });
    }
    for (std::thread& editor : editors) editor.join();
    ASSERT_TRUE(seen[0]);
    for (raster::Font* font : seen) EXPECT_EQ(font, seen[0]);
}

TEST(FontCache, TheProcessHasOneCache) {
    EXPECT_EQ(&IFontCache::Instance(), &IFontCache::Instance());
}

} // namespace
