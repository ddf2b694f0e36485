// Four lanes; this file alone is built for AVX2, without FMA.
#include "engine/LaneKernel.h"

using Avx2Lanes = double __attribute__((vector_size(32)));

bool MixLanesAvx2(ToneVoices& voices, LaneScratch& scratch, int toneCount, const SumsOut& sums,
                  int frames) {
    return MixLanes<Avx2Lanes>(voices, scratch, toneCount, sums, frames);
}

void ScaleSumsAvx2(const double* sum, const double* in, double* out, int frames, double gain) {
    ScaleLanes<Avx2Lanes>(sum, in, out, frames, gain);
}
