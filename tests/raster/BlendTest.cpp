#include "Pixels.h"

#include "raster/Blit.h"
#include "raster/Shapes.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

using namespace raster;

namespace {

// One straight-alpha colour channel set.
struct Colour {
    int a, r, g, b;
    Argb Packed() const { return PackArgb(a, r, g, b); }
};

// Expected result of drawing the colour over an opaque pixel, from the mode's formula.
Px Expected(BlendMode mode, const Colour& s, const Colour& d, double weight) {
    const double a = s.a / 255.0 * weight;
    auto channel = [&](int sv, int dv) {
        const double S = sv / 255.0, D = dv / 255.0;
        double out = D;
        switch (mode) {
        case BlendMode::AlphaCopy:
            out = S * a + D * (1 - a);
            break;
        case BlendMode::Copy:
            out = S * (s.a / 255.0) * weight + D * (1 - weight);
            break;
        case BlendMode::Add:
            out = std::min(1.0, D + S * a);
            break;
        case BlendMode::ColourDodge: {
            const double dodge = D == 0 ? 0 : (S >= 1 ? 1 : std::min(1.0, D / (1 - S)));
            out = D + (dodge - D) * a;
            break;
        }
        }
        return static_cast<int>(std::lround(out * 255));
    };
    const int alpha = mode == BlendMode::Copy
                          ? static_cast<int>(std::lround(s.a * weight + 255 * (1 - weight)))
                          : 255;
    return {alpha, channel(s.r, d.r), channel(s.g, d.g), channel(s.b, d.b)};
}

struct Case {
    BlendMode mode;
    double weight;
};

const Colour kSource{160, 200, 120, 255};
const Colour kGround{255, 90, 180, 0};

class BlendModes : public ::testing::TestWithParam<Case> {};

TEST_P(BlendModes, BlitAndFillFollowTheModeFormula) {
    const auto [mode, weight] = GetParam();
    const Px expected = Expected(mode, kSource, kGround, weight);
    const Blend blend{mode, static_cast<float>(weight)};

    Raster source(4, 4);
    source.Clear(kSource.Packed());
    Raster blitted(4, 4), filled(4, 4);
    blitted.Clear(kGround.Packed());
    filled.Clear(kGround.Packed());
    Blit(blitted, 0, 0, source, 0, 0, 4, 4, blend);
    FillRect(filled, {0, 0, 4, 4}, kSource.Packed(), blend);

    for (const Raster* r : {&blitted, &filled}) {
        EXPECT_TRUE(Near(Px::At(*r, 2, 2), expected, 2))
            << Px::At(*r, 2, 2) << " expected " << expected;
    }
}

INSTANTIATE_TEST_SUITE_P(EveryModeAndWeight, BlendModes,
                         ::testing::Values(Case{BlendMode::AlphaCopy, 1.0},
                                           Case{BlendMode::AlphaCopy, 0.4},
                                           Case{BlendMode::Copy, 1.0}, Case{BlendMode::Copy, 0.4},
                                           Case{BlendMode::Add, 1.0}, Case{BlendMode::Add, 0.4},
                                           Case{BlendMode::ColourDodge, 1.0},
                                           Case{BlendMode::ColourDodge, 0.4}));

TEST(Blend, PlainCopyKeepsTheSourceAlphaAndIgnoresItForMixing) {
    Raster source(1, 1), target(1, 1);
    source.Clear(PackArgb(100, 255, 0, 0));
    target.Clear(PackArgb(255, 0, 0, 255));
    Blit(target, 0, 0, source, 0, 0, 1, 1, {BlendMode::Copy, 1.0f});
    EXPECT_EQ(target.PixelAt(0, 0), source.PixelAt(0, 0));
}

TEST(Blend, AdditiveSaturatesAndDodgeKeepsBlackAndWhitensUnderFullSource) {
    Raster target(2, 1);
    target.Clear(PackArgb(255, 200, 0, 100));
    FillRect(target, {0, 0, 1, 1}, PackArgb(255, 200, 200, 0), {BlendMode::Add, 1.0f});
    EXPECT_TRUE(Near(Px::At(target, 0, 0), {255, 255, 200, 100}, 1)) << Px::At(target, 0, 0);

    FillRect(target, {1, 0, 2, 1}, PackArgb(255, 255, 255, 128), {BlendMode::ColourDodge, 1.0f});
    EXPECT_TRUE(Near(Px::At(target, 1, 0), {255, 255, 0, 200}, 2)) << Px::At(target, 1, 0);
}

TEST(Blend, WeightsOutsideTheRangeAreClamped) {
    Raster none(1, 1), full(1, 1), reference(1, 1);
    for (Raster* r : {&none, &full, &reference}) r->Clear(PackArgb(255, 10, 20, 30));
    FillRect(none, {0, 0, 1, 1}, PackArgb(255, 250, 250, 250), {BlendMode::AlphaCopy, -3.0f});
    FillRect(full, {0, 0, 1, 1}, PackArgb(255, 250, 250, 250), {BlendMode::AlphaCopy, 7.0f});
    EXPECT_EQ(none.PixelAt(0, 0), reference.PixelAt(0, 0));
    EXPECT_EQ(full.PixelAt(0, 0), PackArgb(255, 250, 250, 250));
}

TEST(Blend, ColourAlphaAndWeightBothScaleShapes) {
    Raster target(9, 9);
    target.Clear(PackArgb(255, 0, 0, 0));
    Line(target, 0, 4, 8, 4, PackArgb(128, 255, 255, 255), {BlendMode::AlphaCopy, 0.5f},
         Antialias::Off);
    EXPECT_TRUE(Near(Px::At(target, 4, 4), {255, 64, 64, 64}, 1)) << Px::At(target, 4, 4);
}

} // namespace
