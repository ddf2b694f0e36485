#pragma once

#include "resources/artwork/Artwork.h"

namespace artwork {

// The editor as it looks with the pictures in place: the background, the knobs turned, the
// sliders, button, switch and waveform set to sample values, with sample texts, curves and
// tone dots in the colours the editor's controls use.
void DrawPreview(Canvas& target, const std::vector<Picture>& pictures);

// Every knob at seven values from the lowest to the highest, one row per knob picture.
inline constexpr int kKnobSheetWidth = 7 * 100;
inline constexpr int kKnobSheetHeight = 100 + 72 + 56;
void DrawKnobSheet(Canvas& target, const std::vector<Picture>& pictures);

} // namespace artwork
