#pragma once

#include "resources/artwork/Canvas.h"

namespace artwork {

inline constexpr int kWaveCount = 7;
inline constexpr int kWaveFrameWidth = 54;
inline constexpr int kWaveFrameHeight = 35;

// One frame per "Wave" entry, stacked: one period of the engine's own wave function.
void DrawWaveStrip(Canvas& canvas);

} // namespace artwork
