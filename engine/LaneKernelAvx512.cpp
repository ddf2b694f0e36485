// Eight lanes; this file alone is built for AVX-512F, DQ and VL (VL for all 32 registers at
// the narrower widths a few tones take).
#include "engine/LaneKernel.h"

using Avx512Lanes = double __attribute__((vector_size(64)));

bool MixLanesAvx512(ToneVoices& voices, LaneScratch& scratch, int toneCount, const SumsOut& sums,
                    int frames) {
    return MixLanes<Avx512Lanes>(voices, scratch, toneCount, sums, frames);
}

void ScaleSumsAvx512(const double* sum, const double* in, double* out, int frames, double gain) {
    ScaleLanes<Avx512Lanes>(sum, in, out, frames, gain);
}
