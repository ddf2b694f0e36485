#pragma once

#include <cstdint>

// The vector loops behind the level meter and the 16-bit conversion of 32-bit samples, in two
// widths: SSE2, which every x86-64 processor has, and AVX2, taken where the processor has it.
// Both widths give the same results to the bit.
namespace serivane::tools {

// Whether this processor runs the AVX2 loops.
bool hasAvx2();

// What the meter's loop gathers from the leading multiple of eight samples (covered): the
// largest finite magnitude, eight partial sums of squares in the order the meter adds them up,
// and the count of samples that were not finite.
struct SampleLevels {
    std::int64_t covered = 0;
    double peak = 0.0;
    double sums[8] = {};
    std::int64_t nonFinite = 0;
};

SampleLevels floatLevelsSse2(const float* samples, std::int64_t count);
SampleLevels floatLevelsAvx2(const float* samples, std::int64_t count);
SampleLevels doubleLevelsAvx2(const double* samples, std::int64_t count);

// Two channels to interleaved 16-bit samples, as toPcm16 converts them, for the leading
// multiple of 8 (SSE2, AVX2 for doubles) or 16 (AVX2 for floats) frames; answers the frames
// converted.
int stereoToPcm16Sse2(const float* left, const float* right, int frames, int16_t* interleaved);
int stereoToPcm16Avx2(const float* left, const float* right, int frames, int16_t* interleaved);
int stereoToPcm16Sse2(const double* left, const double* right, int frames, int16_t* interleaved);
int stereoToPcm16Avx2(const double* left, const double* right, int frames, int16_t* interleaved);

} // namespace serivane::tools
