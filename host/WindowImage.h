#pragma once

#include <cstdint>
#include <vector>

namespace serivane::host {

// Pixels read back from a window: width × height, one 0xAARRGGBB value each, rows top down.
struct WindowImage {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;
};

} // namespace serivane::host
