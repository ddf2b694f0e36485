// The AVX2 widths of the sample loops; this file alone is built for AVX2.
#include "tools/SampleLoops.h"

#include <immintrin.h>
#include <limits>

namespace serivane::tools {

namespace {

// Eight samples to eight 32-bit results as the SSE2 loop makes them: x * 2^31 rounded to nearest,
// shifted down 16 bits, full scale where the product overflows. NaN converts to INT32_MIN.
__m256i eightToPcm16(const float* x) {
    const __m256 y = _mm256_mul_ps(_mm256_loadu_ps(x), _mm256_set1_ps(2147483648.0f));
    const __m256 high = _mm256_cmp_ps(y, _mm256_set1_ps(2147483648.0f), _CMP_GE_OQ);
    const __m256 low = _mm256_cmp_ps(y, _mm256_set1_ps(-2147483648.0f), _CMP_LE_OQ);
    const __m256i shifted = _mm256_srai_epi32(_mm256_cvtps_epi32(y), 16);
    const __m256i v =
        _mm256_blendv_epi8(shifted, _mm256_set1_epi32(INT16_MAX), _mm256_castps_si256(high));
    return _mm256_blendv_epi8(v, _mm256_set1_epi32(INT16_MIN), _mm256_castps_si256(low));
}

// Four doubles to four 32-bit results as the SSE2 loop makes them; for doubles the upper clip
// starts at 2^31 - 1, as libsndfile has it.
__m128i fourToPcm16(const double* x) {
    const __m256d y = _mm256_mul_pd(_mm256_loadu_pd(x), _mm256_set1_pd(2147483648.0));
    const __m256i halves = _mm256_setr_epi32(0, 2, 4, 6, 0, 2, 4, 6);
    auto narrow = [&](__m256d mask) {
        return _mm256_castsi256_si128(
            _mm256_permutevar8x32_epi32(_mm256_castpd_si256(mask), halves));
    };
    const __m128i high = narrow(_mm256_cmp_pd(y, _mm256_set1_pd(2147483647.0), _CMP_GE_OQ));
    const __m128i low = narrow(_mm256_cmp_pd(y, _mm256_set1_pd(-2147483648.0), _CMP_LE_OQ));
    const __m128i shifted = _mm_srai_epi32(_mm256_cvtpd_epi32(y), 16);
    const __m128i v = _mm_blendv_epi8(shifted, _mm_set1_epi32(INT16_MAX), high);
    return _mm_blendv_epi8(v, _mm_set1_epi32(INT16_MIN), low);
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

// Eight floats a vector; their squares, widened, go to two vectors of four partial sums that
// hold the SSE2 loop's eight in the same order.
SampleLevels floatLevelsAvx2(const float* samples, std::int64_t count) {
    const __m256 magnitude = _mm256_castsi256_ps(_mm256_set1_epi32(INT32_MAX));
    const __m256 largest = _mm256_set1_ps(std::numeric_limits<float>::max());
    __m256 peaks = _mm256_setzero_ps();
    __m256d sums[2] = {_mm256_setzero_pd(), _mm256_setzero_pd()};
    __m256i bad = _mm256_setzero_si256(); // a lane counts at most an eighth of the samples
    SampleLevels levels;
    for (; levels.covered + 8 <= count; levels.covered += 8) {
        const __m256 v = _mm256_loadu_ps(samples + levels.covered);
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
    alignas(32) float peakLanes[8];
    alignas(32) std::int32_t badLanes[8];
    _mm256_store_ps(peakLanes, peaks);
    _mm256_store_si256(reinterpret_cast<__m256i*>(badLanes), bad);
    _mm256_storeu_pd(levels.sums, sums[0]);
    _mm256_storeu_pd(levels.sums + 4, sums[1]);
    for (int k = 0; k < 8; ++k) {
        levels.peak = peakLanes[k] > levels.peak ? peakLanes[k] : levels.peak;
        levels.nonFinite += badLanes[k];
    }
    return levels;
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
