#include "gui/RasterPixels.h"

#include "raster/Raster.h"

bool ReadRasterPixels(const raster::Raster& raster, RasterPixels& out) {
    const std::uint32_t* pixels = raster.Pixels();
    if (!pixels) return false;
    out = {pixels, raster.Width(), raster.Height(), raster.Stride() * 4};
    return true;
}
