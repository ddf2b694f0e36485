#pragma once

#include "resources/artwork/Canvas.h"

namespace artwork {

enum class SweepDirection { Ascend, Descend };

// A 32 x 32 pointer whose tip is the hotspot, with a badge showing where a click turns the
// sweep.
void DrawSweepCursor(Canvas& canvas, SweepDirection direction);

} // namespace artwork
