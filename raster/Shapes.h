#pragma once

#include "raster/Raster.h"
#include "raster/Types.h"

namespace raster {

// Coordinates name pixels: (x, y) is the pixel whose area runs from x to x + 1, and shapes are
// laid on pixel centres, so integer coordinates hit whole pixels. A drawn colour's opacity is
// its alpha times the blend weight (in Copy mode the weight alone mixes the colour in).

// A line one pixel wide that includes both end pixels. Aliased lines set exactly one pixel per
// step along their longer axis.
void Line(Raster& target, double x1, double y1, double x2, double y2, Argb colour,
          const Blend& blend = {}, Antialias antialias = Antialias::On);

// Circle outline of the given radius through pixel centres, one pixel wide.
void Circle(Raster& target, double centreX, double centreY, double radius, Argb colour,
            const Blend& blend = {}, Antialias antialias = Antialias::On);

// Disc covering the pixels the outline of the same radius passes through and everything inside.
void FillCircle(Raster& target, double centreX, double centreY, double radius, Argb colour,
                const Blend& blend = {}, Antialias antialias = Antialias::On);

// A quarter of the circle outline, including the end pixels on the centre's row and column
// (so straight lines that start one pixel further on join it without a gap or an overlap).
void QuarterArc(Raster& target, int centreX, int centreY, int radius, Quadrant quadrant,
                Argb colour, const Blend& blend = {}, Antialias antialias = Antialias::On);

// A quarter of the filled circle including the centre pixel's row and column: the corner
// square of radius + 1 pixels on each side, rounded.
void FillQuarterDisc(Raster& target, int centreX, int centreY, int radius, Quadrant quadrant,
                     Argb colour, const Blend& blend = {}, Antialias antialias = Antialias::On);

// Fills the rectangle, clipped to the raster.
void FillRect(Raster& target, const Rect& rect, Argb colour, const Blend& blend = {});

} // namespace raster
