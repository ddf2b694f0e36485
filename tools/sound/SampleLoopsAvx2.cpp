// The AVX2 widths of the sample loops; this file alone is built for AVX2.
#include "tools/sound/SampleLoops.h"

#include <immintrin.h>
#include <limits>

namespace serivane::tools {

namespace {

// Eight samples to eight 32-bit results as the SSE2 loop makes them: x * 2^31 rounded to nearest,
// shifted down 16 bits, full scale where the product overflows. Capping the product at 2^31 - 2^16,
// from where every product gives 32767, spares the test for the top; below -2^31 and for NaN the
// conversion answers INT32_MIN, which gives -32768 as it should. With NaN, min_ps answers its
// second operand, so NaN stays NaN.
__m256i eightToPcm16(const float* x) {
    const __m256 y = _mm256_mul_ps(_mm256_loadu_ps(x), _mm256_set1_ps(2147483648.0f));
    const __m256 capped = _mm256_min_ps(_mm256_set1_ps(2147418112.0f), y);
    return _mm256_srai_epi32(_mm256_cvtps_epi32(capped), 16);
}

// Four doubles to four 32-bit results the same way; for doubles the upper clip starts at
// 2^31 - 1, as libsndfile has it, and that is the cap.
__m128i fourToPcm16(const double* x) {
    const __m256d y = _mm256_mul_pd(_mm256_loadu_pd(x), _mm256_set1_pd(2147483648.0));
    const __m256d capped = _mm256_min_pd(_mm256_set1_pd(2147483647.0), y);
    return _mm_srai_epi32(_mm256_cvtpd_epi32(capped), 16);
}

// The float loops' result from their vectors, built once after the loop.
SampleLevels gathered(std::int64_t covered, __m256 peaks, const __m256d (&sums)[2], __m256i bad) {
    alignas(32) float peakLanes[8];
    alignas(32) std::int32_t badLanes[8];
    _mm256_store_ps(peakLanes, peaks);
    _mm256_store_si256(reinterpret_cast<__m256i*>(badLanes), bad);
    SampleLevels levels;
    levels.covered = covered;
    _mm256_storeu_pd(levels.sums, sums[0]);
    _mm256_storeu_pd(levels.sums + 4, sums[1]);
    for (int k = 0; k < 8; ++k) {
        levels.peak = peakLanes[k] > levels.peak ? peakLanes[k] : levels.peak;
        levels.nonFinite += badLanes[k];
    }
    return levels;
}

// Eight floats a vector; their squares, widened, go to two vectors of four partial sums that
// hold the SSE2 loop's eight in the same order. Every non-finite sample is masked out.
SampleLevels maskedFloatLevels(const float* samples, std::int64_t count) {
    const __m256 magnitude = _mm256_castsi256_ps(_mm256_set1_epi32(INT32_MAX));
    const __m256 largest = _mm256_set1_ps(std::numeric_limits<float>::max());
    __m256 peaks = _mm256_setzero_ps();
    __m256d sums[2] = {_mm256_setzero_pd(), _mm256_setzero_pd()};
    __m256i bad = _mm256_setzero_si256(); // a lane counts at most an eighth of the samples
    std::int64_t covered = 0;
    for (; covered + 8 <= count; covered += 8) {
        const __m256 v = _mm256_loadu_ps(samples + covered);
        const __m256 size = _mm256_and_ps(v, magnitude);
        const __m256 finite = _mm256_cmp_ps(size, largest, _CMP_LE_OQ);
        peaks = _mm256_max_ps(peaks, _mm256_and_ps(finite, size));
        const __m256 kept = _mm256_and_ps(finite, v);
        const __m256d low = _mm256_cvtps_pd(_mm256_castps256_ps128(kept));
        const __m256d high = _mm256_cvtps_pd(_mm256_extractf128_ps(kept, 1));
        sums[0] = _mm256_add_pd(sums[0], _mm256_mul_pd(low, low));
        sums[1] = _mm256_add_pd(sums[1], _mm256_mul_pd(high, high));
        bad = _mm256_add_epi32(
            bad, _mm256_andnot_si256(_mm256_castps_si256(finite), _mm256_set1_epi32(1)));
    }
    return gathered(covered, peaks, sums, bad);
}

} // namespace

int stereoToPcm16Avx2(const double* left, const double* right, int frames, int16_t* interleaved) {
    int f = 0;
    for (; f + 8 <= frames; f += 8) {
        const __m128i l = _mm_packs_epi32(fourToPcm16(left + f), fourToPcm16(left + f + 4));
        const __m128i r = _mm_packs_epi32(fourToPcm16(right + f), fourToPcm16(right + f + 4));
        auto* to = reinterpret_cast<__m128i*>(interleaved + 2 * f);
        _mm_storeu_si128(to, _mm_unpacklo_epi16(l, r));
        _mm_storeu_si128(to + 1, _mm_unpackhi_epi16(l, r));
    }
    return f;
}

// The packs and unpacks work within 128-bit halves: packing frames 0-7 with 8-15 gives
// [0-3 8-11 | 4-7 12-15], and interleaving the two channels' low and high quarters then gives
// frames 0-7 and 8-15 in order.
int stereoToPcm16Avx2(const float* left, const float* right, int frames, int16_t* interleaved) {
    int f = 0;
    for (; f + 16 <= frames; f += 16) {
        const __m256i l = _mm256_packs_epi32(eightToPcm16(left + f), eightToPcm16(left + f + 8));
        const __m256i r = _mm256_packs_epi32(eightToPcm16(right + f), eightToPcm16(right + f + 8));
        auto* to = reinterpret_cast<__m256i*>(interleaved + 2 * f);
        _mm256_storeu_si256(to, _mm256_unpacklo_epi16(l, r));
        _mm256_storeu_si256(to + 1, _mm256_unpackhi_epi16(l, r));
    }
    return f;
}

// The same loop without the masks, which cost a quarter of its time. A float's square cannot
// overflow a double, so the partial sums stay finite unless a sample was not; only then are the
// samples gone over again with the masks.
SampleLevels floatLevelsAvx2(const float* samples, std::int64_t count) {
    const __m256 magnitude = _mm256_castsi256_ps(_mm256_set1_epi32(INT32_MAX));
    __m256 peaks = _mm256_setzero_ps();
    __m256d sums[2] = {_mm256_setzero_pd(), _mm256_setzero_pd()};
    std::int64_t covered = 0;
    for (; covered + 8 <= count; covered += 8) {
        const __m256 v = _mm256_loadu_ps(samples + covered);
        peaks = _mm256_max_ps(peaks, _mm256_and_ps(v, magnitude));
        const __m256d low = _mm256_cvtps_pd(_mm256_castps256_ps128(v));
        const __m256d high = _mm256_cvtps_pd(_mm256_extractf128_ps(v, 1));
        sums[0] = _mm256_add_pd(sums[0], _mm256_mul_pd(low, low));
        sums[1] = _mm256_add_pd(sums[1], _mm256_mul_pd(high, high));
    }
    const __m256d total = _mm256_add_pd(sums[0], sums[1]);
    const __m256d finite =
        _mm256_cmp_pd(total, _mm256_set1_pd(std::numeric_limits<double>::max()), _CMP_LE_OQ);
    if (_mm256_movemask_pd(finite) != 0xF) return maskedFloatLevels(samples, count);
    return gathered(covered, peaks, sums, _mm256_setzero_si256());
}

// Doubles four to a vector, in two vectors of four partial sums that hold the SSE2 loop's eight
// pairs in the same order; a non-finite sample's square is masked to +0.0 as there.
SampleLevels doubleLevelsAvx2(const double* samples, std::int64_t count) {
    const __m256d magnitude = _mm256_castsi256_pd(_mm256_set1_epi64x(INT64_MAX));
    const __m256d largest = _mm256_set1_pd(std::numeric_limits<double>::max());
    __m256d peaks[2] = {_mm256_setzero_pd(), _mm256_setzero_pd()};
    __m256d sums[2] = {_mm256_setzero_pd(), _mm256_setzero_pd()};
    __m256i bad[2] = {_mm256_setzero_si256(), _mm256_setzero_si256()};
    SampleLevels levels;
    for (; levels.covered + 8 <= count; levels.covered += 8) {
        for (int half = 0; half < 2; ++half) {
            const __m256d v = _mm256_loadu_pd(samples + levels.covered + 4 * half);
            const __m256d size = _mm256_and_pd(v, magnitude);
            const __m256d finite = _mm256_cmp_pd(size, largest, _CMP_LE_OQ);
            peaks[half] = _mm256_max_pd(peaks[half], _mm256_and_pd(finite, size));
            sums[half] = _mm256_add_pd(sums[half], _mm256_and_pd(finite, _mm256_mul_pd(v, v)));
            bad[half] = _mm256_add_epi64(
                bad[half], _mm256_andnot_si256(_mm256_castpd_si256(finite), _mm256_set1_epi64x(1)));
        }
    }
    for (int half = 0; half < 2; ++half) {
        alignas(32) double peakLanes[4];
        alignas(32) std::int64_t badLanes[4];
        _mm256_store_pd(peakLanes, peaks[half]);
        _mm256_store_si256(reinterpret_cast<__m256i*>(badLanes), bad[half]);
        _mm256_storeu_pd(levels.sums + 4 * half, sums[half]);
        for (int k = 0; k < 4; ++k) {
            levels.peak = peakLanes[k] > levels.peak ? peakLanes[k] : levels.peak;
            levels.nonFinite += badLanes[k];
        }
    }
    return levels;
}

} // namespace serivane::tools
