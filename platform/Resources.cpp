#include "platform/Resources.h"

// Stands in until a program links a table of its own, whose definition then wins.
__attribute__((weak)) std::span<const ResourceEntry> ResourceTable() {
    return {};
}

__attribute__((weak)) std::span<const CursorHotspot> CursorHotspotTable() {
    return {};
}

std::span<const std::uint8_t> FindResource(std::int32_t id) {
    const std::int32_t wanted = id & 0xFFFF;
    for (const ResourceEntry& entry : ResourceTable()) {
        if (entry.id == wanted) return {entry.bytes, entry.size};
    }
    return {};
}

const CursorHotspot* FindCursorHotspot(std::int32_t id) {
    const std::int32_t wanted = id & 0xFFFF;
    for (const CursorHotspot& hotspot : CursorHotspotTable()) {
        if (hotspot.id == wanted) return &hotspot;
    }
    return nullptr;
}
