#pragma once

#include <cstdint>
#include <vector>

// Encodes an image for decoder tests. Samples are given row by row, channels per pixel as the
// colour type has them (palette indices for palette images), each sample in bitDepth bits
// (16-bit samples as two bytes, most significant first).
struct PngImage {
    int width = 0;
    int height = 0;
    int colourType = 0; // PNG_COLOR_TYPE_*
    int bitDepth = 8;
    bool interlaced = false;
    std::vector<std::uint8_t> samples; // packed rows as the PNG stores them
    std::vector<std::uint8_t> palette; // RGB triples
    std::vector<std::uint8_t> paletteAlpha;
    int transparentGrey = -1; // grey value that becomes transparent, -1 for none
};

std::vector<std::uint8_t> EncodePng(const PngImage& image);
