#pragma once

#include "engine/ToneEngine.h"

// Where the kernels put each ear's sum of a frame: out[e][t] = sum * gain, plus in[e][t] where
// the input is mixed in (in is null otherwise). A gain of 1.0 leaves the sums as they are. An
// input may be its output buffer itself.
struct SumsOut {
    double* const* out;
    const double* const* in;
    double gain;
};

// The tone loop's lane kernels, one per instruction set; each mixes the tones of a chunk of
// frames into one sum per ear and frame. The voices may then lag behind the lanes the kernels
// keep, until the kept lanes' writeBack brings them up to date; that also leaves every idle fade's
// origin at its tone's last target. They return false, having done nothing, for a wave function
// they do not know.
bool MixLanesPlain(ToneVoices& voices, LaneScratch& scratch, int toneCount, const SumsOut& sums,
                   int frames);
bool MixLanesAvx2(ToneVoices& voices, LaneScratch& scratch, int toneCount, const SumsOut& sums,
                  int frames);
bool MixLanesAvx512(ToneVoices& voices, LaneScratch& scratch, int toneCount, const SumsOut& sums,
                    int frames);

// out = sum * gain (+ in, where in is not null), one per instruction set.
void ScaleSumsPlain(const double* sum, const double* in, double* out, int frames, double gain);
void ScaleSumsAvx2(const double* sum, const double* in, double* out, int frames, double gain);
void ScaleSumsAvx512(const double* sum, const double* in, double* out, int frames, double gain);
