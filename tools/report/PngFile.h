#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace serivane::tools {

// Writes an opaque picture of width × height 0xAARRGGBB pixels (alpha ignored), rows top down,
// as an 8-bit RGB PNG file. False with `error` set when the file cannot be written.
bool writePng(const std::string& path, int width, int height,
              const std::vector<std::uint32_t>& pixels, std::string& error);

} // namespace serivane::tools
