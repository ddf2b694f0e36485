#include "gui/IResourceBitmap.h"

#include "platform/Resources.h"
#include "raster/Png.h"

std::unique_ptr<raster::Raster> LoadResourceBitmap(std::int32_t id) {
    const std::span<const std::uint8_t> bytes = FindResource(id);
    return raster::DecodePng(bytes.data(), bytes.size());
}
