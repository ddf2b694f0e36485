#pragma once

#include "resources/artwork/Canvas.h"

namespace artwork {

// A split knob picture of two size x size halves: on the left the cap that the editor turns
// (pointer straight up at the middle value), on the right the fixed body with its scale.
void DrawKnobStrip(Canvas& canvas, int size);

// The scale's sweep, centred on straight up.
inline constexpr double kKnobSweepDegrees = 300.0;

} // namespace artwork
