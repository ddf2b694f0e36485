#pragma once

#include <cstdint>
#include <filesystem>
#include <vector>

namespace serivane::integration {

// A picture read from a PNG file: width × height 0xAARRGGBB pixels, rows top down.
struct Picture {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;

    std::uint32_t at(int x, int y) const {
        return pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                      static_cast<std::size_t>(x)];
    }
};

// Whether two pixels' colour channels each differ by no more than `tolerance`.
bool channelsClose(std::uint32_t a, std::uint32_t b, int tolerance);

// False when the file is missing or no PNG.
bool readPng(const std::filesystem::path& path, Picture& picture);

} // namespace serivane::integration
