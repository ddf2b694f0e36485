#pragma once

#include <cstdint>

namespace raster {
class Raster;
}

// A bitmap strip of one or more frames. The raster belongs to the bitmap cache; id is 0, or
// for the right half of a split bitmap the (negative) cache id of its left half.
struct IBitmapRef {
    raster::Raster* raster = nullptr;
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::int32_t frames = 1;
    std::int32_t id = 0;
};
