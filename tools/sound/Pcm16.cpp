#include "tools/sound/Pcm16.h"
#include "tools/sound/SampleLoops.h"

#include <cmath>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace serivane::tools {

namespace {

constexpr double kScale = 2147483648.0;

// The scalar conversion: the clip tests run on the scaled value, in double as libsndfile has it.
template <typename Sample> int16_t one(Sample x) {
    const Sample y = x * static_cast<Sample>(kScale);
    if (y >= 1.0 * 0x7FFFFFFF) return INT16_MAX;
    if (y <= -8.0 * 0x10000000) return INT16_MIN;
    const long rounded = sizeof(Sample) == sizeof(float) ? std::lrintf(y) : std::lrint(y);
    // A NaN rounds to the lowest 32-bit integer, as the x86 conversion gives it.
    const int32_t whole = std::isnan(y) ? INT32_MIN : static_cast<int32_t>(rounded);
    return static_cast<int16_t>(whole >> 16);
}

template <typename Sample>
void scalar(const Sample* const* planar, int channels, int from, int frames, int16_t* out) {
    for (int f = from; f < frames; ++f) {
        for (int c = 0; c < channels; ++c) out[f * channels + c] = one(planar[c][f]);
    }
}

#if defined(__SSE2__)
// Four samples to four 32-bit results: round to nearest (the default mode), shift, and replace
// the overflowed lanes. The conversion gives INT32_MIN for NaN and for overflow both.
__m128i finish(__m128i rounded, __m128 high, __m128 low) {
    const __m128i shifted = _mm_srai_epi32(rounded, 16);
    const __m128i top = _mm_set1_epi32(INT16_MAX);
    const __m128i bottom = _mm_set1_epi32(INT16_MIN);
    __m128i v = _mm_or_si128(_mm_andnot_si128(_mm_castps_si128(high), shifted),
                             _mm_and_si128(_mm_castps_si128(high), top));
    return _mm_or_si128(_mm_andnot_si128(_mm_castps_si128(low), v),
                        _mm_and_si128(_mm_castps_si128(low), bottom));
}

__m128i four(const float* x) {
    const __m128 y = _mm_mul_ps(_mm_loadu_ps(x), _mm_set1_ps(static_cast<float>(kScale)));
    // No float lies between 2^31 - 128 and 2^31, so y >= 2^31 - 1 is y >= 2^31.
    const __m128 high = _mm_cmpge_ps(y, _mm_set1_ps(2147483648.0f));
    const __m128 low = _mm_cmple_ps(y, _mm_set1_ps(-2147483648.0f));
    return finish(_mm_cvtps_epi32(y), high, low);
}

__m128i four(const double* x) {
    const __m128d scale = _mm_set1_pd(kScale);
    const __m128d a = _mm_mul_pd(_mm_loadu_pd(x), scale);
    const __m128d b = _mm_mul_pd(_mm_loadu_pd(x + 2), scale);
    const __m128 high = _mm_castsi128_ps(_mm_unpacklo_epi64(
        _mm_shuffle_epi32(_mm_castpd_si128(_mm_cmpge_pd(a, _mm_set1_pd(2147483647.0))), 0x08),
        _mm_shuffle_epi32(_mm_castpd_si128(_mm_cmpge_pd(b, _mm_set1_pd(2147483647.0))), 0x08)));
    const __m128 low = _mm_castsi128_ps(_mm_unpacklo_epi64(
        _mm_shuffle_epi32(_mm_castpd_si128(_mm_cmple_pd(a, _mm_set1_pd(-2147483648.0))), 0x08),
        _mm_shuffle_epi32(_mm_castpd_si128(_mm_cmple_pd(b, _mm_set1_pd(-2147483648.0))), 0x08)));
    const __m128i rounded = _mm_unpacklo_epi64(_mm_cvtpd_epi32(a), _mm_cvtpd_epi32(b));
    return finish(rounded, high, low);
}

// Eight results, already within 16 bits, packed without saturation changing any of them.
__m128i eight(__m128i a, __m128i b) {
    return _mm_packs_epi32(a, b);
}

template <typename Sample>
int stereo(const Sample* left, const Sample* right, int frames, int16_t* out) {
    int f = 0;
    for (; f + 8 <= frames; f += 8) {
        const __m128i l = eight(four(left + f), four(left + f + 4));
        const __m128i r = eight(four(right + f), four(right + f + 4));
        auto* to = reinterpret_cast<__m128i*>(out + 2 * f);
        _mm_storeu_si128(to, _mm_unpacklo_epi16(l, r));
        _mm_storeu_si128(to + 1, _mm_unpackhi_epi16(l, r));
    }
    return f;
}

template <typename Sample>
void convert(const Sample* const* planar, int channels, int frames, int16_t* out) {
    int f = 0;
    if (channels == 2) {
#if defined(SERIVANE_AVX2_LOOPS)
        if (hasAvx2()) f = stereoToPcm16Avx2(planar[0], planar[1], frames, out);
#endif
        f += stereo(planar[0] + f, planar[1] + f, frames - f, out + 2 * f);
    }
    scalar(planar, channels, f, frames, out);
}
#else
template <typename Sample>
void convert(const Sample* const* planar, int channels, int frames, int16_t* out) {
    scalar(planar, channels, 0, frames, out);
}
#endif

} // namespace

#if defined(__SSE2__)
int stereoToPcm16Sse2(const float* left, const float* right, int frames, int16_t* interleaved) {
    return stereo(left, right, frames, interleaved);
}

int stereoToPcm16Sse2(const double* left, const double* right, int frames, int16_t* interleaved) {
    return stereo(left, right, frames, interleaved);
}
#endif

void toPcm16(const float* const* planar, int channels, int frames, int16_t* interleaved) {
    convert(planar, channels, frames, interleaved);
}

void toPcm16(const double* const* planar, int channels, int frames, int16_t* interleaved) {
    convert(planar, channels, frames, interleaved);
}

} // namespace serivane::tools
