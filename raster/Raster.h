#pragma once

#include "raster/Types.h"

#include <cstdint>

typedef struct _cairo_surface cairo_surface_t;
typedef struct _cairo cairo_t;

namespace raster {

// A 32-bit ARGB raster: cairo's ARGB32 layout, premultiplied alpha, one native 32-bit word per
// pixel, rows Stride() words apart. The same type serves as an editor's off-screen raster (the
// window layer presents its pixels) and as a memory raster for bitmaps.
//
// One raster is drawn into by one thread at a time; rasters that are only read (cached bitmaps)
// may serve as sources on several threads at once.
class Raster {
public:
    // A raster of the given size (negative sizes count as 0), all pixels transparent black.
    explicit Raster(int width = 0, int height = 0);
    ~Raster();
    Raster(const Raster&) = delete;
    Raster& operator=(const Raster&) = delete;

    // New size, content cleared to transparent black. False when the memory could not be had;
    // the raster is then 0 x 0.
    bool Resize(int width, int height);

    int Width() const { return width_; }
    int Height() const { return height_; }
    // Distance between rows, in pixels.
    int Stride() const { return stride_; }

    // The pixel words, null for a 0 x 0 raster. After writing through Pixels(), call
    // MarkDirty() before drawing with the raster again.
    std::uint32_t* Pixels();
    const std::uint32_t* Pixels() const;
    void MarkDirty();

    // The stored (premultiplied) pixel at (x, y); 0 outside the raster.
    std::uint32_t PixelAt(int x, int y) const;

    // Sets every pixel to the colour.
    void Clear(Argb colour);

private:
    friend struct RasterAccess;
    void Create(int width, int height);
    void Destroy();

    cairo_surface_t* surface_ = nullptr;
    cairo_t* context_ = nullptr;
    int width_ = 0;
    int height_ = 0;
    int stride_ = 0;
};

} // namespace raster
