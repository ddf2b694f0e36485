#pragma once

#include "raster/Raster.h"

#include <cstdint>
#include <memory>

// A raster for the library's PNG resource with the id (its low 16 bits), decoded when its pixels
// are first used: a plug-in that is never shown never decodes its artwork. Null when the resource
// is missing, shorter than 8 bytes, not a PNG, or its header is broken; an image whose rows fail to
// decode is transparent.
std::unique_ptr<raster::Raster> LoadResourceBitmap(std::int32_t id);
