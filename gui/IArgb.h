#pragma once

#include "raster/Types.h"

#include <cstdint>

// A colour with straight alpha, each channel 0..255.
struct IArgb {
    std::int32_t a = 255;
    std::int32_t r = 0;
    std::int32_t g = 0;
    std::int32_t b = 0;

    // The colour as the drawing layer takes it: a<<24 | r<<16 | g<<8 | b.
    raster::Argb Packed() const { return raster::PackArgb(a, r, g, b); }
};
