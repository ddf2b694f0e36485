#include "Pixels.h"

#include "raster/Shapes.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

using namespace raster;

namespace {

constexpr Argb kWhite = PackArgb(255, 255, 255, 255);

int Alpha(const Raster& raster, int x, int y) {
    return Px::At(raster, x, y).a;
}

// Pixels of one row (or column) that carry any ink, as '#' and '.'.
std::string Row(const Raster& raster, int y) {
    std::string out;
    for (int x = 0; x < raster.Width(); ++x) out += Alpha(raster, x, y) > 0 ? '#' : '.';
    return out;
}

TEST(Line, AliasedLinesIncludeBothEndsAndSetOnePixelPerStep) {
    Raster raster(10, 8);
    Line(raster, 1, 1, 8, 1, kWhite, {}, Antialias::Off);
    EXPECT_EQ(Row(raster, 1), ".########.");
    EXPECT_EQ(Row(raster, 0), "..........");
    EXPECT_EQ(Row(raster, 2), "..........");

    Raster slanted(10, 8);
    Line(slanted, 8, 6, 1, 3, kWhite, {}, Antialias::Off);
    EXPECT_EQ(Alpha(slanted, 8, 6), 255);
    EXPECT_EQ(Alpha(slanted, 1, 3), 255);
    for (int x = 0; x < 10; ++x) {
        int count = 0;
        for (int y = 0; y < 8; ++y) count += Alpha(slanted, x, y) == 255;
        EXPECT_EQ(count, x >= 1 && x <= 8 ? 1 : 0) << "column " << x;
    }

    Raster dot(3, 3);
    Line(dot, 1, 1, 1, 1, kWhite, {}, Antialias::Off);
    EXPECT_EQ(Row(dot, 1), ".#.");
}

TEST(Line, AntialiasedLinesCoverPixelCentresFullyAndShadeFractionalOnes) {
    Raster raster(10, 6);
    Line(raster, 1, 1, 8, 1, kWhite);
    EXPECT_EQ(Alpha(raster, 1, 1), 255);
    EXPECT_EQ(Alpha(raster, 8, 1), 255);
    EXPECT_EQ(Alpha(raster, 9, 1), 0);
    EXPECT_EQ(Alpha(raster, 4, 0), 0);

    // Half a pixel down: two rows share the line.
    Line(raster, 1, 3.5, 8, 3.5, kWhite);
    EXPECT_NEAR(Alpha(raster, 4, 3), 128, 2);
    EXPECT_NEAR(Alpha(raster, 4, 4), 128, 2);
}

TEST(Circle, OutlineAndFillCoverTheSamePixelsFromTheCentre) {
    Raster outline(21, 21), disc(21, 21);
    Circle(outline, 10, 10, 6, kWhite, {}, Antialias::Off);
    FillCircle(disc, 10, 10, 6, kWhite, {}, Antialias::Off);
    EXPECT_EQ(Alpha(outline, 10, 10), 0);
    for (const auto& [x, y] : {std::pair{16, 10}, {4, 10}, {10, 4}, {10, 16}}) {
        EXPECT_EQ(Alpha(outline, x, y), 255) << x << "," << y;
        EXPECT_EQ(Alpha(disc, x, y), 255) << x << "," << y;
    }
    // The disc reaches exactly as far as the outline: everything inked by the outline is
    // inked by the disc, and nothing of the disc lies outside the outline's extent.
    for (int y = 0; y < 21; ++y) {
        for (int x = 0; x < 21; ++x) {
            if (Alpha(outline, x, y) > 0) {
                EXPECT_GT(Alpha(disc, x, y), 0) << x << "," << y;
            }
            const double distance = std::hypot(x - 10, y - 10);
            if (distance > 6.8) {
                EXPECT_EQ(Alpha(disc, x, y), 0) << x << "," << y;
            }
            if (distance < 5.2) {
                EXPECT_EQ(Alpha(disc, x, y), 255) << x << "," << y;
                EXPECT_EQ(Alpha(outline, x, y), 0) << x << "," << y;
            }
        }
    }
}

// A rounded box built from bands and quarter discs the way the editor's popup draws it.
void FillRoundedBox(Raster& raster, Rect box, int r, Antialias antialias) {
    const int right = box.right - r - 1, bottom = box.bottom - r - 1;
    FillRect(raster, {box.left, box.top + r + 1, box.right, bottom}, kWhite);
    FillRect(raster, {box.left + r + 1, box.top, right, box.top + r + 1}, kWhite);
    FillRect(raster, {box.left + r + 1, bottom, right, box.bottom}, kWhite);
    FillQuarterDisc(raster, box.left + r, box.top + r, r, Quadrant::TopLeft, kWhite, {}, antialias);
    FillQuarterDisc(raster, right, box.top + r, r, Quadrant::TopRight, kWhite, {}, antialias);
    FillQuarterDisc(raster, right, bottom, r, Quadrant::BottomRight, kWhite, {}, antialias);
    FillQuarterDisc(raster, box.left + r, bottom, r, Quadrant::BottomLeft, kWhite, {}, antialias);
}

TEST(QuarterShapes, BandsAndQuarterDiscsTileARoundedBoxWithoutSeams) {
    for (const Antialias antialias : {Antialias::On, Antialias::Off}) {
        Raster raster(30, 20);
        FillRoundedBox(raster, {2, 3, 26, 17}, 4, antialias);
        // Inside the rounding every pixel is fully covered; outside the box nothing is.
        for (int y = 0; y < 20; ++y) {
            for (int x = 0; x < 30; ++x) {
                // The corner squares of radius + 1 pixels are the rounded ones.
                const bool inside = x >= 2 && x < 26 && y >= 3 && y < 17;
                const bool corner = (x < 7 || x >= 21) && (y < 8 || y >= 12);
                if (!inside) {
                    EXPECT_EQ(Alpha(raster, x, y), 0) << x << "," << y;
                } else if (!corner) {
                    EXPECT_EQ(Alpha(raster, x, y), 255) << x << "," << y;
                }
            }
        }
        EXPECT_EQ(Alpha(raster, 2, 3), 0);
        EXPECT_EQ(Alpha(raster, 25, 16), 0);
    }
}

TEST(QuarterShapes, QuarterArcsJoinStraightEdgesStartingOnePixelOn) {
    // Top-left corner of an outline: the arc ends on the centre's row and column, the edges
    // start one pixel further on.
    Raster raster(12, 12);
    const int r = 4, left = 1, top = 1;
    QuarterArc(raster, left + r, top + r, r, Quadrant::TopLeft, kWhite);
    Line(raster, left + r + 1, top, 10, top, kWhite);
    Line(raster, left, top + r + 1, left, 10, kWhite);
    // The arc's end pixels lose a little at their outer corners to the rounding.
    for (int x = left + r; x <= 10; ++x) EXPECT_GE(Alpha(raster, x, top), 250) << x;
    for (int y = top + r; y <= 10; ++y) EXPECT_GE(Alpha(raster, left, y), 250) << y;
    EXPECT_EQ(Alpha(raster, left + r, top + r), 0);
    EXPECT_EQ(Alpha(raster, left, top), 0);

    // The other quadrants are mirror images of it.
    Raster arc(12, 12), mirrored(12, 12);
    QuarterArc(arc, left + r, top + r, r, Quadrant::TopLeft, kWhite);
    QuarterArc(mirrored, 10 - r, top + r, r, Quadrant::TopRight, kWhite);
    for (int y = 0; y < 12; ++y) {
        for (int x = 0; x < 12; ++x) {
            const int expected = x >= 10 - r ? Alpha(arc, 10 - x + left, y) : 0;
            EXPECT_NEAR(Alpha(mirrored, x, y), expected, 3) << x << "," << y;
        }
    }
}

TEST(FillRect, ClipsToTheRaster) {
    Raster raster(4, 4);
    FillRect(raster, {-5, 2, 2, 40}, kWhite);
    EXPECT_EQ(Row(raster, 1), "....");
    EXPECT_EQ(Row(raster, 2), "##..");
    EXPECT_EQ(Row(raster, 3), "##..");
    FillRect(raster, {3, 3, 1, 1}, kWhite);
    EXPECT_EQ(Row(raster, 3), "##..");
}

} // namespace
