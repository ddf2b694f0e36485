#pragma once

// Wave shapes that only the lane kernels use: faster forms of the shapes in WaveShapes.h that
// give the same samples for the phases the kernels pass, [0, period).

#include "engine/WaveShapes.h"

#include <bit>
#include <cstdint>

namespace {

// Whether a lane-by-lane choice between two vectors is one instruction. SSE2 has no blend and
// takes three; there, subtracting a masked constant (x - 0.0 is x) is cheaper.
#if (defined(__x86_64__) || defined(__i386__)) && !defined(__SSE4_1__)
constexpr bool kBlends = false;
#else
constexpr bool kBlends = true;
#endif

// The sine of a phase in [0, 2pi) without the integer round trip: the multiple of pi that
// PolySine takes off is 0, 1 or 2, and as p * inversePi + 0.5 grows with p, it passes 1 and 2 at
// two fixed phases, found once by bisection over the doubles with the same operations.
constexpr double kInversePi = OscillatorBank{}.inversePi;

constexpr bool FoldsAtLeast(double p, int n) {
    return static_cast<int32_t>(p * kInversePi + 0.5) >= n;
}

constexpr double FirstPhaseFolding(int n) {
    uint64_t below = std::bit_cast<uint64_t>(0.0);
    uint64_t at = std::bit_cast<uint64_t>(8.0);
    while (at - below > 1) {
        const uint64_t middle = below + (at - below) / 2;
        (FoldsAtLeast(std::bit_cast<double>(middle), n) ? at : below) = middle;
    }
    return std::bit_cast<double>(at);
}

constexpr double kFoldOnce = FirstPhaseFolding(1);
constexpr double kFoldTwice = FirstPhaseFolding(2);

// Both foldings subtract exactly (the difference fits the grid of p), so p - pi - pi is p - 2pi.
// Where PolySine negates the result of an odd multiple, the blends take pi - p instead: the
// polynomial is odd and rounding symmetric, so it gives the same sample, and AVX-512 turns each
// choice into one masked subtraction. Only a zero's sign can differ, which no sum of a frame
// keeps: it starts from +0.0.
struct PhaseSineShape {
    template <class V> [[gnu::always_inline]] static V At(const OscillatorBank& bank, V p) {
        V y;
        MaskOf<V> negate{};
        if constexpr (kBlends) {
            const V once = p >= kFoldOnce ? kPi - p : p;
            y = p >= kFoldTwice ? p - 2.0 * kPi : once;
        } else {
            const MaskOf<V> once = p >= kFoldOnce;
            const MaskOf<V> twice = p >= kFoldTwice;
            const V pi = Splat<V>(kPi);
            y = p - (Masked(once, pi) + Masked(twice, pi));
            negate = (once ^ twice) & INT64_MIN;
        }
        const V y2 = y * y;
        const V s = y * ((y2 * bank.sineC5 + bank.sineC3) * y2 + bank.sineC1);
        return reinterpret_cast<V>(reinterpret_cast<MaskOf<V>>(s) ^ negate);
    }
};

} // namespace
