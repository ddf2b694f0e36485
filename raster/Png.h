#pragma once

#include "raster/Raster.h"

#include <cstddef>
#include <cstdint>
#include <memory>

namespace raster {

// Decodes a PNG image held in memory into a new raster of its size. Palette, grey and low bit
// depth images become 8-bit RGB, transparency information becomes alpha, 16-bit samples are
// reduced to 8 bits and images without alpha are opaque. Null for data shorter than the
// 8-byte signature, data that is not a PNG, and any decoding error.
std::unique_ptr<Raster> DecodePng(const std::uint8_t* data, std::size_t size);

} // namespace raster
