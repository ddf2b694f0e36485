#pragma once

#include "resources/artwork/Canvas.h"

namespace artwork {

enum class HandleAxis { Horizontal, Vertical };

// A 16 x 16 slider handle: a round thumb whose index line crosses the direction of travel.
void DrawSliderHandle(Canvas& canvas, HandleAxis axis);

enum class ButtonLight { Off, On };

// The 32 x 41 "Play Anyway" button with its top left corner at (x, y): off on the background,
// on in its own picture, which covers the off look wherever the two differ.
void DrawPlayButton(cairo_t* cr, double x, double y, ButtonLight light);

// The two 57 x 16 frames of the "Freq Graph" switch, stacked: "pos" lit, then "freq" lit.
void DrawGraphSwitch(Canvas& canvas);

// The 27 x 27 mark laid over a graph preset button while the mouse is over it.
void DrawPresetHover(Canvas& canvas);

} // namespace artwork
