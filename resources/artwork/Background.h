#pragma once

#include "resources/artwork/Canvas.h"

namespace artwork {

// The 600 x 475 background: everything static of the editor (ground, panels, grooves, scales,
// captions, title, mark, illustration and the graph preset buttons).
void DrawBackground(Canvas& canvas);

} // namespace artwork
