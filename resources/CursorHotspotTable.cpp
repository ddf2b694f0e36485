#include "resources/CursorHotspots.h"

std::span<const CursorHotspot> CursorHotspotTable() {
    return kCursorHotspots;
}
