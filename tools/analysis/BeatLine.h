#pragma once

#include "tools/analysis/Fourier.h"

#include <vector>

namespace serivane::tools {

// A line of the ears' cross product zR·conj(zL), whose phase turns at the beat frequency.
struct BeatLine {
    double hz = 0.0;        // positive: the right ear is higher
    double amplitude = 0.0; // |mean of the cross product turned back by the line|
};

// Finds the strongest line of the cross product with |f| from `lowestHz` up to `highestHz`
// (below the Nyquist frequency of the search), then refines its frequency from the slope of its
// phase over the window.
BeatLine strongestLine(const std::vector<Complex>& cross, double sampleRate, double lowestHz,
                       double highestHz);

} // namespace serivane::tools
