#include "gui/IBitmapCache.h"

IBitmapCache& IBitmapCache::Instance() {
    static IBitmapCache cache;
    return cache;
}

raster::Raster* IBitmapCache::Find(std::int32_t id) const {
    std::lock_guard guard(lock_);
    return FindLocked(id);
}

raster::Raster* IBitmapCache::Add(std::unique_ptr<raster::Raster> raster, std::int32_t id) {
    std::lock_guard guard(lock_);
    if (raster::Raster* cached = FindLocked(id)) return cached;
    if (!raster) return nullptr;
    entries_.push_back({id, std::move(raster)});
    return entries_.back().raster.get();
}

raster::Raster* IBitmapCache::FindLocked(std::int32_t id) const {
    for (const Entry& entry : entries_) {
        if (entry.id == id) return entry.raster.get();
    }
    return nullptr;
}
