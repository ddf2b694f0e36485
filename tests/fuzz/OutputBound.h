#pragma once

class CLS_SERIVANE;

// The largest output sample a block may hold, from the parameter values alone. Each of the n
// tones is a wave of peak 1 at a level of at most 1; the master gain is at most
// ("Volume" x 0.008 + 0.0001) / sqrt(n) while the instrument sounds, and within a block it ramps
// from the gain the previous rendered block ended on. A level fade may overshoot its target by
// a fade step, 2 / sample rate, at most 2.5e-4 at 8 kHz.
class OutputBound {
public:
    // The bound for the block just processed, whose parameter changes are applied; moves the
    // gain on to where that block left it.
    double AfterBlock(CLS_SERIVANE& plugin, bool transportRunning, int frames);

private:
    double gainCeiling_ = 0.0; // the most the master gain can be at the start of a block
};

// Checks that every parameter, the program and bypass included, holds a value in its range.
void RequireParametersInRange(CLS_SERIVANE& plugin);
