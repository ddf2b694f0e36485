#pragma once

#include "raster/Raster.h"

#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

// Decoded bitmaps by id (resource ids, or the negative ids of split halves), kept until the
// library unloads so that every editor in the process shares them. Safe from any thread.
class IBitmapCache {
public:
    // The process-wide cache.
    static IBitmapCache& Instance();

    IBitmapCache() = default;
    IBitmapCache(const IBitmapCache&) = delete;
    IBitmapCache& operator=(const IBitmapCache&) = delete;

    // The raster cached under the id, or null.
    raster::Raster* Find(std::int32_t id) const;

    // Keeps the raster under the id and answers the raster the id stands for from now on. When
    // the id is cached already (two editors decoded it at once), the earlier raster stays and the
    // given one is dropped, so an id always yields the same raster. A null raster adds nothing.
    raster::Raster* Add(std::unique_ptr<raster::Raster> raster, std::int32_t id);

private:
    struct Entry {
        std::int32_t id;
        std::unique_ptr<raster::Raster> raster;
    };
    raster::Raster* FindLocked(std::int32_t id) const;

    mutable std::mutex lock_;
    std::vector<Entry> entries_;
};
