#pragma once

#include <cstdint>

namespace serivane::tools {

// Planar channels to interleaved 16-bit samples, exactly as libsndfile converts them with
// clipping on: x * 2^31 rounded to the nearest integer, shifted down by 16 bits (so the 16-bit
// value is floored), full scale where that product overflows, and NaN as -32768. Done here in
// one pass with vector instructions, it costs a fraction of libsndfile's sample-by-sample loop.
void toPcm16(const float* const* planar, int channels, int frames, int16_t* interleaved);
void toPcm16(const double* const* planar, int channels, int frames, int16_t* interleaved);

} // namespace serivane::tools
