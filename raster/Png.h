#pragma once

#include "raster/Raster.h"

#include <cstddef>
#include <cstdint>
#include <memory>

namespace raster {

// A raster of a PNG image held in memory, of the image's size, decoded when its pixels are first
// used (Raster::Deferred): only the header is read now. Palette, grey and low bit depth images
// become 8-bit RGB, transparency information becomes alpha, 16-bit samples are reduced to 8 bits
// and images without alpha are opaque. Null for data shorter than the 8-byte signature, data that
// is not a PNG, a broken header, and an image of no size or too many pixels; an image whose rows
// fail to decode stays transparent.
std::unique_ptr<Raster> DecodePng(const std::uint8_t* data, std::size_t size);

} // namespace raster
