#pragma once

#include "resources/artwork/Canvas.h"

namespace artwork {

// A faint line drawing of a head in profile, facing right, with its brain centred on (x, y).
void DrawHeadAndBrain(cairo_t* cr, double x, double y);

// The vendor's mark, an abstract sign about 34 pixels wide, centred on (x, y).
void DrawVendorMark(cairo_t* cr, double x, double y);

} // namespace artwork
