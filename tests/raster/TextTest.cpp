#include "Pixels.h"

#include "raster/Font.h"
#include "support/FaceFamilies.h"

#include <gtest/gtest.h>

using namespace raster;

namespace {

constexpr Argb kWhite = PackArgb(255, 255, 255, 255);

std::unique_ptr<Font> MakeFont(const char* face, int height) {
    FontSpec spec;
    spec.face = face;
    spec.height = height;
    return Font::Create(spec);
}

int MaxAlpha(const Raster& raster) {
    int most = 0;
    for (int y = 0; y < raster.Height(); ++y) {
        for (int x = 0; x < raster.Width(); ++x) most = std::max(most, Px::At(raster, x, y).a);
    }
    return most;
}

TEST(Font, WindowsFacesResolveToTheirMetricCompatibleFreeFaces) {
    const auto arial = MakeFont("Arial", 14);
    const auto verdana = MakeFont("Verdana", 13);
    ASSERT_TRUE(arial && verdana);
    EXPECT_EQ(arial->Family(), kArialFamily);
    EXPECT_EQ(verdana->Family(), kVerdanaFamily);
    EXPECT_NEAR(arial->CellHeight(), 14, 1);
    EXPECT_NEAR(verdana->CellHeight(), 13, 1);
}

TEST(Font, AlignsTheLineInTheBoxByItsAdvance) {
    const auto font = MakeFont("Arial", 16);
    ASSERT_TRUE(font);
    const Rect box{10, 4, 190, 30};
    const int advance = font->Measure("Mid line").width;
    ASSERT_GT(advance, 30);

    Raster left(200, 40), centre(200, 40), right(200, 40);
    font->Draw(left, "Mid line", box, kWhite, {TextAlign::Left});
    font->Draw(centre, "Mid line", box, kWhite, {TextAlign::Centre});
    font->Draw(right, "Mid line", box, kWhite, {TextAlign::Right});
    const InkBox l = FindInk(left), c = FindInk(centre), r = FindInk(right);
    ASSERT_FALSE(l.empty || c.empty || r.empty);

    EXPECT_NEAR(l.left, box.left, 2);
    EXPECT_NEAR(r.right, box.right, 2);
    EXPECT_NEAR((c.left + c.right) / 2.0, (box.left + box.right) / 2.0, 2.0);
    // The same ink, moved: the ink is as wide as the advance, within the side bearings.
    EXPECT_EQ(c.right - c.left, l.right - l.left);
    EXPECT_NEAR(l.right - l.left, advance, 3);
    // The cell's top sits at the box's top.
    for (const InkBox& ink : {l, c, r}) {
        EXPECT_GE(ink.top, box.top);
        EXPECT_LE(ink.bottom, box.top + font->CellHeight());
    }
}

TEST(Font, UsesTheColoursAlphaOnlyWhenAsked) {
    const auto font = MakeFont("Arial", 20);
    ASSERT_TRUE(font);
    Raster opaque(80, 30), faint(80, 30);
    const Argb colour = PackArgb(100, 255, 255, 255);
    font->Draw(opaque, "IIII", {0, 0, 80, 30}, colour);
    font->Draw(faint, "IIII", {0, 0, 80, 30}, colour, {TextAlign::Left, false, true});
    EXPECT_EQ(MaxAlpha(opaque), 255);
    EXPECT_NEAR(MaxAlpha(faint), 100, 1);
}

TEST(Font, ClipsToTheBoxOnlyWhenAsked) {
    const auto font = MakeFont("Arial", 16);
    ASSERT_TRUE(font);
    const Rect box{20, 5, 40, 25};
    Raster clipped(120, 30), loose(120, 30);
    font->Draw(clipped, "A long line", box, kWhite, {TextAlign::Left, true});
    font->Draw(loose, "A long line", box, kWhite, {TextAlign::Left, false});
    const InkBox in = FindInk(clipped), out = FindInk(loose);
    EXPECT_GE(in.left, box.left);
    EXPECT_LE(in.right, box.right);
    EXPECT_GT(out.right, box.right + 20);
}

TEST(Font, ReadsTextThatIsNotUtf8AsLatin1) {
    const auto font = MakeFont("Arial", 16);
    ASSERT_TRUE(font);
    EXPECT_GT(font->Measure("caf\xe9").width, font->Measure("caf").width);
    EXPECT_EQ(font->Measure("caf\xc3\xa9").width, font->Measure("caf\xe9").width);
    EXPECT_EQ(font->Measure("").width, 0);
}

TEST(Font, BoldAndAliasedVariantsDiffer) {
    FontSpec spec{"Arial", 16};
    const auto regular = Font::Create(spec);
    spec.bold = true;
    const auto bold = Font::Create(spec);
    spec.bold = false;
    spec.quality = FontQuality::Aliased;
    const auto aliased = Font::Create(spec);
    ASSERT_TRUE(regular && bold && aliased);
    EXPECT_GT(bold->Measure("Wide text").width, regular->Measure("Wide text").width);

    Raster raster(100, 30);
    aliased->Draw(raster, "Wide text", {0, 0, 100, 30}, kWhite);
    for (int y = 0; y < 30; ++y) {
        for (int x = 0; x < 100; ++x) {
            const int a = Px::At(raster, x, y).a;
            ASSERT_TRUE(a == 0 || a == 255) << x << "," << y << ": " << a;
        }
    }
}

TEST(Font, TurnedTextRunsUpwards) {
    FontSpec spec{"Arial", 16};
    spec.orientation = 90;
    const auto font = Font::Create(spec);
    ASSERT_TRUE(font);
    Raster raster(40, 120);
    font->Draw(raster, "Upwards", {10, 110, 30, 120}, kWhite);
    const InkBox ink = FindInk(raster);
    ASSERT_FALSE(ink.empty);
    EXPECT_GT(ink.bottom - ink.top, ink.right - ink.left);
    EXPECT_LE(ink.bottom, 111);
}

} // namespace
