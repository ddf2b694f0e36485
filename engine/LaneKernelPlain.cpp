// Two lanes: the SSE2 every x86-64 processor has, or the target's own 128-bit vectors.
#include "engine/LaneKernel.h"

using PlainLanes = double __attribute__((vector_size(16)));

bool MixLanesPlain(ToneVoices& voices, LaneScratch& scratch, int toneCount, const SumsOut& sums,
                   int frames) {
    return MixLanes<PlainLanes>(voices, scratch, toneCount, sums, frames);
}

void ScaleSumsPlain(const double* sum, const double* in, double* out, int frames, double gain) {
    ScaleLanes<PlainLanes>(sum, in, out, frames, gain);
}
