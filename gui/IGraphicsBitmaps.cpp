#include "gui/IBitmapCache.h"
#include "gui/IGraphics.h"
#include "gui/IResourceBitmap.h"
#include "raster/Blit.h"
#include "raster/Raster.h"

#include <cmath>

namespace {

// A new raster holding columns [from, from + width) of the source.
std::unique_ptr<raster::Raster> CopyColumns(const raster::Raster& source, int from, int width) {
    auto part = std::make_unique<raster::Raster>(width, source.Height());
    raster::Blit(*part, 0, 0, source, from, 0, width, source.Height(),
                 {raster::BlendMode::Copy, 1.0f});
    return part;
}

} // namespace

IBitmapRef IGraphics::LoadBitmap(int resourceId, const char*, int frames) {
    IBitmapCache& cache = IBitmapCache::Instance();
    raster::Raster* bitmap = cache.Find(resourceId);
    if (!bitmap) bitmap = cache.Add(LoadResourceBitmap(resourceId), resourceId);
    if (!bitmap) return {nullptr, 0, 0, frames, 0};
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
    ref = {splitRasters_.back().get(), rightWidth, height, 1, id};
    return {left, left->Width(), left->Height(), 1, 0};
}

IBitmapRef IGraphics::BitmapById(int id) const {
    raster::Raster* bitmap = IBitmapCache::Instance().Find(id);
    if (!bitmap) return {};
    return {bitmap, bitmap->Width(), bitmap->Height(), 1, 0};
}
