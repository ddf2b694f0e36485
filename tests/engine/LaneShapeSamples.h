#pragma once

#include "engine/Waveforms.h"

// The wave shape the lane kernels evaluate for the bank, at `count` phases in vectors of `width`
// doubles (2, 4 or 8), built with one render path's instruction set. False for a wave function
// the kernels do not know, and for a width the path does not use.
bool LaneShapeSamplesPlain(const OscillatorBank& bank, int width, const double* phases,
                           double* samples, int count);
bool LaneShapeSamplesAvx2(const OscillatorBank& bank, int width, const double* phases,
                          double* samples, int count);
bool LaneShapeSamplesAvx512(const OscillatorBank& bank, int width, const double* phases,
                            double* samples, int count);
