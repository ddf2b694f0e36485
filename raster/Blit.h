#pragma once

#include "raster/Raster.h"
#include "raster/Types.h"

namespace raster {

// Copies the width x height block at (srcX, srcY) of the source to (dstX, dstY) of the target
// with the blend. The block is clipped to both rasters; the parts that fall outside either are
// left out, the rest keeps its place. A raster may be copied onto itself. Coordinates are in
// drawing units (Raster::Density); a source of another density than the target is resampled.
void Blit(Raster& target, int dstX, int dstY, const Raster& source, int srcX, int srcY, int width,
          int height, const Blend& blend = {});

// Fills the destination rectangle from the source rectangle, scaled to the destination's size
// and turned by the angle (radians, clockwise on screen) about the destination's centre. Each
// target pixel is sampled from the source raster around its mapped point with the filter: points
// beyond the source rectangle read the source pixels there, points beyond the source raster read
// transparency. Only the destination rectangle is painted, so turned corners are cut off.
void BlitRotated(Raster& target, const RectF& destination, const Raster& source,
                 const RectF& sourceRect, double angle, const Blend& blend = {},
                 Filter filter = Filter::Bilinear);

} // namespace raster
