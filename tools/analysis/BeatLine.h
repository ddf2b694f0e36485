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

// The mean rate at which the phase of the line at `hz` turns from the window's start to its end:
// the phase of each part, turned back by `hz`, is unwrapped from the part before, so that a beat
// that glides is measured as its mean over the window however its strength varies. Where the
// window's first or last parts are too weak to read (a tone fading in or out), a parabola through
// the phases read carries them on to the window's edge.
double meanBeat(const std::vector<Complex>& cross, double sampleRate, double hz);

} // namespace serivane::tools
