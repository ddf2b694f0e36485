#include "gui/IBitmapCache.h"
#include "gui/IGraphics.h"
#include "gui/IResourceBitmap.h"
#include "raster/Blit.h"
#include "raster/Raster.h"

#include <algorithm>
#include <cmath>

namespace {

// A new raster of the source's density holding columns [from, from + width) of the source, in
// units of the picture at 1x.
std::unique_ptr<raster::Raster> CopyColumns(const raster::Raster& source, int from, int width) {
    const int density = static_cast<int>(source.Density());
    const int height = source.Height() / density;
    auto part = std::make_unique<raster::Raster>(width * density, height * density);
    part->SetDensity(density);
    raster::Blit(*part, 0, 0, source, from, 0, width, height, {raster::BlendMode::Copy, 1.0f});
    return part;
}

// The cached picture of the resource; a picture of a denser set carries its density.
raster::Raster* CachedResource(int resourceId, int set) {
    IBitmapCache& cache = IBitmapCache::Instance();
    const std::int32_t id = ScaledResourceId(resourceId, set);
    if (raster::Raster* bitmap = cache.Find(id)) return bitmap;
    std::unique_ptr<raster::Raster> bitmap = LoadResourceBitmap(id);
    if (bitmap) bitmap->SetDensity(set);
    return cache.Add(std::move(bitmap), id);
}

} // namespace

IBitmapRef IGraphics::LoadBitmap(int resourceId, const char*, int frames) {
    raster::Raster* bitmap = CachedResource(resourceId, 1);
    if (!bitmap) return {nullptr, 0, 0, frames, 0};
    const bool known = std::any_of(bitmapOrigins_.begin(), bitmapOrigins_.end(),
                                   [bitmap](const BitmapOrigin& o) { return o.base == bitmap; });
    if (!known) bitmapOrigins_.push_back({bitmap, resourceId, 0.0, 0});
    return {bitmap, bitmap->Width(), bitmap->Height(), frames, 0};
}

IBitmapRef IGraphics::SplitBitmap(IBitmapRef& ref, double fraction) {
    if (!ref.raster) return {};
    const int width = ref.raster->Width();
    const int height = ref.raster->Height();
    const int leftWidth = static_cast<int>(std::floor(width * fraction));
    const int rightWidth = static_cast<int>(std::floor(width * (1.0 - fraction)));
    const int id = --nextSplitId_;
    // Every editor of the plug-in splits the same bitmaps in the same order, so a left half
    // cached under this id by an earlier editor is this one's as well.
    IBitmapCache& cache = IBitmapCache::Instance();
    raster::Raster* left = cache.Find(id);
    if (!left) left = cache.Add(CopyColumns(*ref.raster, 0, leftWidth), id);
    splitRasters_.push_back(CopyColumns(*ref.raster, leftWidth, rightWidth));
    const auto origin =
        std::find_if(bitmapOrigins_.begin(), bitmapOrigins_.end(),
                     [&](const BitmapOrigin& o) { return o.base == ref.raster && o.part == 0; });
    if (origin != bitmapOrigins_.end()) {
        // Copied first: adding the halves may move the list.
        const int resourceId = origin->resourceId;
        bitmapOrigins_.push_back({left, resourceId, fraction, -1});
        bitmapOrigins_.push_back({splitRasters_.back().get(), resourceId, fraction, 1});
    }
    ref = {splitRasters_.back().get(), rightWidth, height, 1, id};
    return {left, left->Width(), left->Height(), 1, 0};
}

IBitmapRef IGraphics::BitmapById(int id) const {
    raster::Raster* bitmap = IBitmapCache::Instance().Find(id);
    if (!bitmap) return {};
    return {bitmap, bitmap->Width(), bitmap->Height(), 1, 0};
}

double IGraphics::SupportedScale(double requested) {
    if (!(requested > 0.0)) return 1.0;
    double nearest = kScales[0];
    for (const double scale : kScales) {
        if (std::fabs(scale - requested) < std::fabs(nearest - requested)) nearest = scale;
    }
    return nearest;
}

bool IGraphics::SetScale(double requested) {
    const double scale = SupportedScale(requested);
    if (scale == scale_) return false;
    scale_ = scale;
    const int set = scale <= 1.0 ? 1 : scale <= 2.0 ? 2 : 3;
    if (set != denseSet_) {
        denseSet_ = set;
        denseBitmaps_.clear();
        denseParts_.clear();
    }
    ResizeDrawRaster();
    RedrawAll();
    return true;
}

int IGraphics::PixelWidth() const {
    return static_cast<int>(std::lround(width_ * scale_));
}

int IGraphics::PixelHeight() const {
    return static_cast<int>(std::lround(height_ * scale_));
}

IBox IGraphics::PixelBox(const IBox& units) const {
    auto down = [this](int unit) { return static_cast<int>(std::floor(unit * scale_)); };
    auto up = [this](int unit) { return static_cast<int>(std::ceil(unit * scale_)); };
    return {down(units.left), down(units.top), up(units.right), up(units.bottom)};
}

int IGraphics::UnitAt(int pixel) const {
    return static_cast<int>(std::floor(pixel / scale_));
}

IBox IGraphics::UnitBox(const IBox& pixels) const {
    auto up = [this](int pixel) { return static_cast<int>(std::ceil(pixel / scale_)); };
    return {UnitAt(pixels.left), UnitAt(pixels.top), up(pixels.right), up(pixels.bottom)};
}

const raster::Raster* IGraphics::DenseRaster(const raster::Raster* base) {
    if (denseSet_ == 1 || !base) return base;
    for (const DenseBitmap& known : denseBitmaps_) {
        if (known.base == base) return known.dense;
    }
    const raster::Raster* dense = base;
    for (const BitmapOrigin& origin : bitmapOrigins_) {
        if (origin.base != base) continue;
        // A set without this picture leaves the 1x one, scaled up.
        const raster::Raster* whole = CachedResource(origin.resourceId, denseSet_);
        if (!whole) break;
        if (origin.part == 0) {
            dense = whole;
            break;
        }
        const int width = whole->Width() / denseSet_;
        const int leftWidth = static_cast<int>(std::floor(width * origin.fraction));
        const int rightWidth = static_cast<int>(std::floor(width * (1.0 - origin.fraction)));
        denseParts_.push_back(origin.part < 0 ? CopyColumns(*whole, 0, leftWidth)
                                              : CopyColumns(*whole, leftWidth, rightWidth));
        dense = denseParts_.back().get();
        break;
    }
    denseBitmaps_.push_back({base, dense});
    return dense;
}
