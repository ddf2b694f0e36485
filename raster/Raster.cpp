#include "raster/Raster.h"

#include "raster/RasterAccess.h"

#include <algorithm>

namespace raster {

Raster::Raster(int width, int height) {
    Create(width, height);
}

std::unique_ptr<Raster> Raster::Deferred(int width, int height, Fill fill) {
    auto raster = std::make_unique<Raster>(width, height);
    if (fill && raster->width_ > 0 && raster->height_ > 0) {
        raster->fill_ = std::move(fill);
        raster->pending_.store(true, std::memory_order_release);
    }
    return raster;
}

Raster::~Raster() {
    Destroy();
}

void Raster::Ready() const {
    if (!pending_.load(std::memory_order_acquire)) return;
    std::call_once(filled_, [this] {
        if (fill_) {
            fill_(reinterpret_cast<std::uint32_t*>(cairo_image_surface_get_data(surface_)),
                  stride_);
            cairo_surface_mark_dirty(surface_);
            fill_ = nullptr;
        }
        pending_.store(false, std::memory_order_release);
    });
}

bool Raster::Resize(int width, int height) {
    // New content replaces what a pending fill would have written.
    fill_ = nullptr;
    pending_.store(false, std::memory_order_release);
    Destroy();
    Create(width, height);
    return width_ == std::max(width, 0) && height_ == std::max(height, 0);
}

void Raster::SetDensity(double density) {
    if (!(density > 0.0)) return;
    density_ = density;
    cairo_surface_set_device_scale(surface_, density, density);
    // A context keeps the device scale it was made with.
    if (context_) cairo_destroy(context_);
    context_ = nullptr;
}

void Raster::Create(int width, int height) {
    width = std::max(width, 0);
    height = std::max(height, 0);
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
    if (cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS) {
        cairo_surface_destroy(surface);
        surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 0, 0);
        width = 0;
        height = 0;
    }
    cairo_surface_set_device_scale(surface, density_, density_);
    surface_ = surface;
    width_ = width;
    height_ = height;
    stride_ = cairo_image_surface_get_stride(surface) / 4;
}

void Raster::Destroy() {
    if (context_) cairo_destroy(context_);
    context_ = nullptr;
    cairo_surface_destroy(surface_);
    surface_ = nullptr;
    width_ = height_ = stride_ = 0;
}

std::uint32_t* Raster::Pixels() {
    Ready();
    cairo_surface_flush(surface_);
    return reinterpret_cast<std::uint32_t*>(cairo_image_surface_get_data(surface_));
}

const std::uint32_t* Raster::Pixels() const {
    Ready();
    return reinterpret_cast<const std::uint32_t*>(cairo_image_surface_get_data(surface_));
}

void Raster::MarkDirty() {
    Ready();
    cairo_surface_mark_dirty(surface_);
}

std::uint32_t Raster::PixelAt(int x, int y) const {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return 0;
    return Pixels()[static_cast<std::size_t>(y) * stride_ + x];
}

void Raster::Clear(Argb colour) {
    Painter painter(*this);
    if (!painter.Context()) return;
    cairo_set_operator(painter.Context(), CAIRO_OPERATOR_SOURCE);
    SetSourceColour(painter.Context(), colour, 1.0);
    cairo_paint(painter.Context());
}

cairo_t* RasterAccess::Context(Raster& raster) {
    if (raster.width_ == 0 || raster.height_ == 0) return nullptr;
    raster.Ready();
    if (!raster.context_) raster.context_ = cairo_create(raster.surface_);
    return raster.context_;
}

cairo_surface_t* RasterAccess::SourceSurface(const Raster& raster) {
    if (raster.width_ == 0 || raster.height_ == 0) return nullptr;
    raster.Ready();
    auto* data = const_cast<unsigned char*>(cairo_image_surface_get_data(raster.surface_));
    cairo_surface_t* surface = cairo_image_surface_create_for_data(
        data, CAIRO_FORMAT_ARGB32, raster.width_, raster.height_, raster.stride_ * 4);
    cairo_surface_set_device_scale(surface, raster.density_, raster.density_);
    return surface;
}

Painter::Painter(Raster& target) : context_(RasterAccess::Context(target)) {
    if (context_) cairo_save(context_);
}

Painter::~Painter() {
    if (context_) cairo_restore(context_);
}

double Painter::ApplyBlend(const Blend& blend) {
    cairo_operator_t op = CAIRO_OPERATOR_OVER;
    switch (blend.mode) {
    case BlendMode::AlphaCopy:
        op = CAIRO_OPERATOR_OVER;
        break;
    case BlendMode::Copy:
        op = CAIRO_OPERATOR_SOURCE;
        break;
    case BlendMode::Add:
        op = CAIRO_OPERATOR_ADD;
        break;
    // cairo's separable colour dodge is D / (1 − S) per channel, black staying black, mixed in
    // by the source alpha: the dodge this layer promises.
    case BlendMode::ColourDodge:
        op = CAIRO_OPERATOR_COLOR_DODGE;
        break;
    }
    cairo_set_operator(context_, op);
    const double weight = blend.weight;
    return weight > 0.0 ? std::min(weight, 1.0) : 0.0;
}

void SetSourceColour(cairo_t* context, Argb colour, double alphaFactor) {
    auto channel = [colour](int shift) { return ((colour >> shift) & 0xFF) / 255.0; };
    cairo_set_source_rgba(context, channel(16), channel(8), channel(0), channel(24) * alphaFactor);
}

} // namespace raster
