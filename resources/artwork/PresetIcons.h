#pragma once

#include "resources/artwork/Canvas.h"
#include "resources/artwork/EditorLayout.h"

namespace artwork {

enum class GraphKind { Frequency, Volume };

// The column of five preset buttons at a graph's right edge, each showing the curve it sets.
void DrawPresetColumn(cairo_t* cr, const layout::Box& graph, GraphKind kind);

} // namespace artwork
