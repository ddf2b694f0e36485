#include "tools/sound/LevelMeter.h"
#include "tools/sound/SampleLoops.h"

#include <algorithm>
#include <cmath>
#include <limits>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace serivane::tools {

namespace {

// The samples the vector loops leave over.
template <typename Sample>
void addOneByOne(const Sample* samples, std::int64_t count, double& peak, double& sumOfSquares,
                 std::int64_t& nonFinite) {
    for (std::int64_t i = 0; i < count; ++i) {
        const double v = samples[i];
        if (!std::isfinite(v)) {
            ++nonFinite;
            continue;
        }
        peak = std::max(peak, std::fabs(v));
        sumOfSquares += v * v;
    }
}

// Two samples to a vector, four vectors in flight, with no branch: the meter sees every sample of
// a render, and this way it costs a fraction of a nanosecond per sample.
template <typename Sample> SampleLevels pairLevels(const Sample* samples, std::int64_t count) {
    using Pair = double __attribute__((vector_size(16)));
    using Bits = std::int64_t __attribute__((vector_size(16)));
    constexpr int kPairs = 4;
    constexpr double kLargest = std::numeric_limits<double>::max();
    const Bits magnitude = {INT64_MAX, INT64_MAX};
    Pair peaks[kPairs] = {};
    Pair sums[kPairs] = {};
    Bits bad[kPairs] = {};
    SampleLevels levels;
    for (; levels.covered + 2 * kPairs <= count; levels.covered += 2 * kPairs) {
        for (int k = 0; k < kPairs; ++k) {
            const std::int64_t i = levels.covered + 2 * k;
            const Pair v = {static_cast<double>(samples[i]), static_cast<double>(samples[i + 1])};
            const Pair size = reinterpret_cast<Pair>(reinterpret_cast<Bits>(v) & magnitude);
            const Bits finite = size <= kLargest;
            const Bits louder = finite & (size > peaks[k]);
            peaks[k] = reinterpret_cast<Pair>((louder & reinterpret_cast<Bits>(size)) |
                                              (~louder & reinterpret_cast<Bits>(peaks[k])));
            sums[k] += reinterpret_cast<Pair>(finite & reinterpret_cast<Bits>(v * v));
            bad[k] += ~finite & 1;
        }
    }
    for (int k = 0; k < kPairs; ++k) {
        for (int lane = 0; lane < 2; ++lane) {
            levels.peak = std::max(levels.peak, peaks[k][lane]);
            levels.sums[2 * k + lane] = sums[k][lane];
            levels.nonFinite += bad[k][lane];
        }
    }
    return levels;
}

// The widest loop this processor runs; each gives the same levels to the bit.
SampleLevels levelsOf(const float* samples, std::int64_t count) {
#if defined(SERIVANE_AVX2_LOOPS)
    if (hasAvx2()) return floatLevelsAvx2(samples, count);
#endif
#if defined(__SSE2__)
    return floatLevelsSse2(samples, count);
#else
    return pairLevels(samples, count);
#endif
}

SampleLevels levelsOf(const double* samples, std::int64_t count) {
#if defined(SERIVANE_AVX2_LOOPS)
    if (hasAvx2()) return doubleLevelsAvx2(samples, count);
#endif
    return pairLevels(samples, count);
}

} // namespace

#if defined(__SSE2__)
// Floats four to a vector: their magnitudes and the finite test need no widening, and a
// non-finite sample zeroed before it is squared adds +0.0, as the masked product does for
// doubles. The squares go to the same eight partial sums, so the result is the same to the bit.
SampleLevels floatLevelsSse2(const float* samples, std::int64_t count) {
    const __m128 magnitude = _mm_castsi128_ps(_mm_set1_epi32(INT32_MAX));
    const __m128 largest = _mm_set1_ps(std::numeric_limits<float>::max());
    __m128 peaks = _mm_setzero_ps();
    __m128d sums[4] = {_mm_setzero_pd(), _mm_setzero_pd(), _mm_setzero_pd(), _mm_setzero_pd()};
    __m128i bad = _mm_setzero_si128(); // a lane counts at most a quarter of the samples
    SampleLevels levels;
    for (; levels.covered + 8 <= count; levels.covered += 8) {
        for (int half = 0; half < 2; ++half) {
            const __m128 v = _mm_loadu_ps(samples + levels.covered + 4 * half);
            const __m128 size = _mm_and_ps(v, magnitude);
            const __m128 finite = _mm_cmple_ps(size, largest);
            peaks = _mm_max_ps(peaks, _mm_and_ps(finite, size));
            const __m128 kept = _mm_and_ps(finite, v);
            const __m128d low = _mm_cvtps_pd(kept);
            const __m128d high = _mm_cvtps_pd(_mm_movehl_ps(kept, kept));
            sums[2 * half] = _mm_add_pd(sums[2 * half], _mm_mul_pd(low, low));
            sums[2 * half + 1] = _mm_add_pd(sums[2 * half + 1], _mm_mul_pd(high, high));
            bad = _mm_add_epi32(bad, _mm_andnot_si128(_mm_castps_si128(finite), _mm_set1_epi32(1)));
        }
    }
    alignas(16) float peakLanes[4];
    alignas(16) std::int32_t badLanes[4];
    _mm_store_ps(peakLanes, peaks);
    _mm_store_si128(reinterpret_cast<__m128i*>(badLanes), bad);
    for (int k = 0; k < 4; ++k) {
        levels.peak = std::max(levels.peak, static_cast<double>(peakLanes[k]));
        _mm_storeu_pd(levels.sums + 2 * k, sums[k]);
        levels.nonFinite += badLanes[k];
    }
    return levels;
}
#endif

template <typename Sample> void LevelMeter::addAll(const Sample* samples, std::int64_t count) {
    const SampleLevels levels = levelsOf(samples, count);
    peak_ = std::max(peak_, levels.peak);
    for (double sum : levels.sums) sumOfSquares_ += sum;
    std::int64_t nonFinite = levels.nonFinite;
    addOneByOne(samples + levels.covered, count - levels.covered, peak_, sumOfSquares_, nonFinite);
    nonFinite_ += nonFinite;
    count_ += count - nonFinite;
}

void LevelMeter::add(const float* samples, std::int64_t count) {
    addAll(samples, count);
}

void LevelMeter::add(const double* samples, std::int64_t count) {
    addAll(samples, count);
}

double LevelMeter::rms() const {
    return count_ > 0 ? std::sqrt(sumOfSquares_ / count_) : 0.0;
}

} // namespace serivane::tools
