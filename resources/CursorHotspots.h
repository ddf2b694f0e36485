#pragma once

#include <cstdint>

// The cursor images compiled in beside the pictures (32 x 32 ARGB PNGs) and the pixel of each
// that is the pointer's tip.
struct CursorHotspot {
    std::int32_t id;
    int x;
    int y;
};

inline constexpr int kCursorSize = 32;
// Over the sweep indicator while the sweep descends: a click makes it ascend.
inline constexpr std::int32_t kCursorAscend = 98;
// Over the sweep indicator while the sweep ascends: a click makes it descend.
inline constexpr std::int32_t kCursorDescend = 99;

inline constexpr CursorHotspot kCursorHotspots[] = {{kCursorAscend, 1, 1}, {kCursorDescend, 1, 1}};

// The hotspot of a cursor image, or null for an id that is no cursor.
constexpr const CursorHotspot* FindCursorHotspot(std::int32_t id) {
    for (const CursorHotspot& h : kCursorHotspots) {
        if (h.id == id) return &h;
    }
    return nullptr;
}
