#pragma once

#include <cstdint>

class Raster;

// A bitmap of the process-wide cache: the whole strip and how many frames it holds. A split
// bitmap's right half carries the negative cache id of its left half.
struct IBitmapRef {
    Raster* raster = nullptr;
    int32_t width = 0;
    int32_t height = 0;
    int32_t frames = 1;
    int32_t id = 0;
};
