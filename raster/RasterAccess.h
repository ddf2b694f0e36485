#pragma once

#include "raster/Raster.h"

#include <cairo.h>

namespace raster {

// The drawing layer's own access to a raster's cairo objects.
struct RasterAccess {
    // The raster's drawing context, created on first use; null for a 0 x 0 raster.
    static cairo_t* Context(Raster& raster);
    // A new surface over the raster's pixels for reading them as a source. Each drawing call makes
    // its own, so that cached bitmaps are read on several threads without sharing cairo state.
    // The caller destroys it; null for a 0 x 0 raster.
    static cairo_surface_t* SourceSurface(const Raster& raster);
};

// Saves the raster's context on construction and restores it on destruction, so that every
// drawing call starts from the plain state (no clip, no transform, source over).
class Painter {
public:
    explicit Painter(Raster& target);
    ~Painter();
    Painter(const Painter&) = delete;
    Painter& operator=(const Painter&) = delete;

    // Null when the target has no pixels; nothing is drawn then.
    cairo_t* Context() const { return context_; }

    // Sets the operator of the mode and answers the weight clamped to 0..1.
    double ApplyBlend(const Blend& blend);

private:
    cairo_t* context_;
};

// Sets the colour (straight alpha) as the source, its alpha multiplied by the factor.
void SetSourceColour(cairo_t* context, Argb colour, double alphaFactor);

} // namespace raster
