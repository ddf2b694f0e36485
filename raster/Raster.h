#pragma once

#include "raster/Types.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>

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
    // Writes a raster's pixels, rows `stride` pixels apart, over transparent black.
    using Fill = std::function<void(std::uint32_t* pixels, int stride)>;

    // A raster of the given size (negative sizes count as 0), all pixels transparent black.
    explicit Raster(int width = 0, int height = 0);
    // A raster of the given size whose pixels the fill writes when they are first used: read,
    // drawn from or drawn into. It runs once, on whichever thread comes first, so that a bitmap
    // nobody draws is never decoded. Without a fill, or when the size cannot be had, the raster
    // stays transparent.
    static std::unique_ptr<Raster> Deferred(int width, int height, Fill fill);
    ~Raster();
    Raster(const Raster&) = delete;
    Raster& operator=(const Raster&) = delete;

    // New size, content cleared to transparent black. False when the memory could not be had;
    // the raster is then 0 x 0.
    bool Resize(int width, int height);

    // Size in pixels.
    int Width() const { return width_; }
    int Height() const { return height_; }
    // Pixels per drawing unit along each axis (1 unless set): drawing into the raster and reading
    // it as a source take coordinates in units, so a raster of density 2 holds the same picture
    // as one of density 1 at twice the pixels. Kept across Resize.
    void SetDensity(double density);
    double Density() const { return density_; }
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
    // Runs a pending fill; every access to the pixels goes through here first.
    void Ready() const;

    cairo_surface_t* surface_ = nullptr;
    cairo_t* context_ = nullptr;
    int width_ = 0;
    int height_ = 0;
    int stride_ = 0;
    double density_ = 1.0;
    mutable std::atomic<bool> pending_{false};
    mutable std::once_flag filled_;
    mutable Fill fill_;
};

} // namespace raster
