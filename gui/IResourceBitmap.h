#pragma once

#include "raster/Raster.h"

#include <cstdint>
#include <memory>

// Decodes the library's PNG resource with the id (its low 16 bits) into a new raster. Null when
// the resource is missing, shorter than 8 bytes, not a PNG, or fails to decode.
std::unique_ptr<raster::Raster> LoadResourceBitmap(std::int32_t id);
