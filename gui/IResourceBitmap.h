#pragma once

#include "raster/Raster.h"

#include <cstdint>
#include <memory>

// A raster for the library's PNG resource with the id (its low 16 bits), decoded when its pixels
// are first used: a plug-in that is never shown never decodes its artwork. Null when the resource
// is missing, shorter than 8 bytes, not a PNG, or its header is broken; an image whose rows fail to
// decode is transparent.
std::unique_ptr<raster::Raster> LoadResourceBitmap(std::int32_t id);

// The id of a resource's picture in a denser set (2 or 3 pixels per editor pixel); the sets
// keep resources below 1000 at 2000 and 3000 above their own ids.
constexpr std::int32_t ScaledResourceId(std::int32_t id, int set) {
    return set > 1 ? set * 1000 + id : id;
}
