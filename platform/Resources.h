#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

// One file compiled into the library.
struct ResourceEntry {
    std::int32_t id;
    const std::uint8_t* bytes;
    std::size_t size;
};

// The pixel of a cursor picture that is the pointer's tip.
struct CursorHotspot {
    std::int32_t id;
    int x;
    int y;
};

// The library's resource table, made from files at build time (cmake/Resources.cmake). A
// program links at most one table; without one the table is empty.
std::span<const ResourceEntry> ResourceTable();

// The bytes of the resource whose id equals the low 16 bits of the given id; empty when the
// table has no such resource.
std::span<const std::uint8_t> FindResource(std::int32_t id);

// The hotspots of the cursor pictures in the resource table, linked in beside it; empty without.
std::span<const CursorHotspot> CursorHotspotTable();

// The hotspot of a cursor resource (matched on the low 16 bits of the id), or null.
const CursorHotspot* FindCursorHotspot(std::int32_t id);
