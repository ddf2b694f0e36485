#pragma once

#include "platform/Resources.h"

#include <cstdint>

// The cursor images compiled in beside the pictures (32 x 32 ARGB PNGs) and the pixel of each
// that is the pointer's tip.

inline constexpr int kCursorSize = 32;
// Over the sweep indicator while the sweep descends: a click makes it ascend.
inline constexpr std::int32_t kCursorAscend = 98;
// Over the sweep indicator while the sweep ascends: a click makes it descend.
inline constexpr std::int32_t kCursorDescend = 99;

inline constexpr CursorHotspot kAscendHotspot{kCursorAscend, 1, 1};
inline constexpr CursorHotspot kDescendHotspot{kCursorDescend, 1, 1};
inline constexpr CursorHotspot kCursorHotspots[] = {kAscendHotspot, kDescendHotspot};
