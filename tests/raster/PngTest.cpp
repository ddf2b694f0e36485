#include "Pixels.h"
#include "PngWriter.h"

#include "raster/Png.h"

#include <gtest/gtest.h>
#include <png.h>

using namespace raster;

namespace {

std::unique_ptr<Raster> Decode(const std::vector<std::uint8_t>& bytes) {
    return DecodePng(bytes.data(), bytes.size());
}

// Row of pixels of a decoded raster.
std::vector<Px> Pixels(const Raster& raster, int y = 0) {
    std::vector<Px> row;
    for (int x = 0; x < raster.Width(); ++x) row.push_back(Px::At(raster, x, y));
    return row;
}

void ExpectPixels(const std::vector<Px>& actual, const std::vector<Px>& expected) {
    ASSERT_EQ(actual.size(), expected.size());
    for (std::size_t i = 0; i < actual.size(); ++i) {
        EXPECT_TRUE(Near(actual[i], expected[i], 1))
            << "pixel " << i << " is " << actual[i] << ", expected " << expected[i];
    }
}

PngImage Image(int width, int height, int colourType, int bitDepth) {
    PngImage image;
    image.width = width;
    image.height = height;
    image.colourType = colourType;
    image.bitDepth = bitDepth;
    return image;
}

TEST(Png, TruecolourWithAndWithoutAlpha) {
    PngImage rgba = Image(2, 1, PNG_COLOR_TYPE_RGBA, 8);
    rgba.samples = {255, 0, 0, 255, 200, 100, 50, 128};
    const auto withAlpha = Decode(EncodePng(rgba));
    ASSERT_TRUE(withAlpha);
    EXPECT_EQ(withAlpha->Width(), 2);
    EXPECT_EQ(withAlpha->Height(), 1);
    // Stored premultiplied.
    ExpectPixels(Pixels(*withAlpha), std::vector<Px>{{255, 255, 0, 0}, {128, 100, 50, 25}});

    PngImage rgb = Image(1, 2, PNG_COLOR_TYPE_RGB, 8);
    rgb.samples = {1, 2, 3, 4, 5, 6};
    const auto opaque = Decode(EncodePng(rgb));
    ASSERT_TRUE(opaque);
    EXPECT_EQ(opaque->Height(), 2);
    ExpectPixels(Pixels(*opaque, 1), {{255, 4, 5, 6}});
}

TEST(Png, PaletteGreyAndDeepImagesBecomeEightBitArgb) {
    PngImage palette = Image(3, 1, PNG_COLOR_TYPE_PALETTE, 4);
    palette.palette = {10, 20, 30, 250, 250, 250, 0, 0, 200};
    palette.paletteAlpha = {255, 0};
    palette.samples = {0x01, 0x20}; // indices 0, 1, 2
    const auto fromPalette = Decode(EncodePng(palette));
    ASSERT_TRUE(fromPalette);
    ExpectPixels(Pixels(*fromPalette),
                 std::vector<Px>{{255, 10, 20, 30}, {0, 0, 0, 0}, {255, 0, 0, 200}});

    PngImage deepGrey = Image(2, 1, PNG_COLOR_TYPE_GRAY, 16);
    deepGrey.samples = {0x80, 0x10, 0xFF, 0xFF};
    const auto fromDeepGrey = Decode(EncodePng(deepGrey));
    ASSERT_TRUE(fromDeepGrey);
    ExpectPixels(Pixels(*fromDeepGrey),
                 std::vector<Px>{{255, 128, 128, 128}, {255, 255, 255, 255}});

    PngImage bits = Image(8, 1, PNG_COLOR_TYPE_GRAY, 1);
    bits.samples = {0b10100000};
    bits.transparentGrey = 0;
    const auto fromBits = Decode(EncodePng(bits));
    ASSERT_TRUE(fromBits);
    ExpectPixels(Pixels(*fromBits), std::vector<Px>{{255, 255, 255, 255},
                                                    {0, 0, 0, 0},
                                                    {255, 255, 255, 255},
                                                    {0, 0, 0, 0},
                                                    {0, 0, 0, 0},
                                                    {0, 0, 0, 0},
                                                    {0, 0, 0, 0},
                                                    {0, 0, 0, 0}});

    PngImage greyAlpha = Image(1, 1, PNG_COLOR_TYPE_GRAY_ALPHA, 8);
    greyAlpha.samples = {200, 51};
    const auto fromGreyAlpha = Decode(EncodePng(greyAlpha));
    ASSERT_TRUE(fromGreyAlpha);
    ExpectPixels(Pixels(*fromGreyAlpha), std::vector<Px>{{51, 40, 40, 40}});
}

TEST(Png, InterlacedImagesDecodeLikePlainOnes) {
    PngImage image = Image(9, 7, PNG_COLOR_TYPE_RGB, 8);
    for (int i = 0; i < 9 * 7; ++i) {
        image.samples.insert(image.samples.end(), {std::uint8_t(i), std::uint8_t(3 * i), 7});
    }
    PngImage interlaced = image;
    interlaced.interlaced = true;
    const auto plain = Decode(EncodePng(image));
    const auto woven = Decode(EncodePng(interlaced));
    ASSERT_TRUE(plain && woven);
    for (int y = 0; y < 7; ++y) ExpectPixels(Pixels(*woven, y), Pixels(*plain, y));
}

TEST(Png, ShortAndForeignDataGiveNoRaster) {
    PngImage image = Image(4, 4, PNG_COLOR_TYPE_RGB, 8);
    image.samples.assign(4 * 4 * 3, 90);
    const std::vector<std::uint8_t> good = EncodePng(image);
    ASSERT_TRUE(Decode(good));

    EXPECT_FALSE(DecodePng(nullptr, 0));
    EXPECT_FALSE(DecodePng(good.data(), 7));
    const std::string text = "GIF89a, not a PNG at all";
    EXPECT_FALSE(DecodePng(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
    // Signature only.
    EXPECT_FALSE(DecodePng(good.data(), 8));
}

// The rows are decoded when the pixels are first wanted, after the raster was handed out: rows
// that fail then leave the image transparent, not half decoded.
TEST(Png, CutOrDamagedRowsLeaveTheImageTransparent) {
    PngImage image = Image(5, 3, PNG_COLOR_TYPE_RGB_ALPHA, 8);
    for (int i = 0; i < 5 * 3; ++i) {
        image.samples.insert(image.samples.end(),
                             {std::uint8_t(17 * i), 90, std::uint8_t(255 - i), 200});
    }
    const std::vector<std::uint8_t> good = EncodePng(image);
    std::vector<std::uint8_t> damaged = good;
    damaged[damaged.size() - 20] ^= 0x5A; // the image data's checksum no longer matches
    const std::vector<std::uint8_t> cut(good.begin(), good.end() - 20);
    for (const std::vector<std::uint8_t>& bytes : {damaged, cut}) {
        const auto broken = Decode(bytes);
        ASSERT_TRUE(broken);
        EXPECT_EQ(broken->Width(), 5);
        EXPECT_EQ(broken->Height(), 3);
        for (int y = 0; y < 3; ++y) {
            for (int x = 0; x < 5; ++x) EXPECT_EQ(broken->PixelAt(x, y), 0u);
        }
    }
}

} // namespace
