#pragma once

#include <cstdint>

namespace raster {
class Raster;
}

// The pixels of a raster as the window reads them: 0xAARRGGBB values, rows strideBytes apart.
struct RasterPixels {
    const std::uint32_t* pixels = nullptr;
    int width = 0;
    int height = 0;
    int strideBytes = 0;
};

// False when the raster has no pixels to read.
bool ReadRasterPixels(const raster::Raster& raster, RasterPixels& out);
