#pragma once

#include "engine/Waveforms.h"

#include <cstdint>
#include <type_traits>

// Every helper here is forced inline: a vector value must never cross a call between code built
// for one instruction set and code built for another, whose calling conventions for it differ,
// and a copy emitted out of line in a file built for AVX-512 must not serve plain code.
//
// The wave shapes are written once for a single phase (double) and for a vector of phases of
// any width (GCC vector extensions: two lanes for both ears of one tone, or as many tones as
// the render path's registers hold). All run the same floating-point operations in the same
// order, so every lane gives exactly the single result.
using Lanes2 = double __attribute__((vector_size(16)));

template <class T>
concept LaneVector = !std::is_arithmetic_v<T> && requires(T v) {
    v[0] + 1.0;
};

// The comparison result and the integers of a lane vector, lane for lane. Eight lanes take 64-bit
// integers, which AVX-512 converts in one instruction; every argument the shapes give
// NearestInt is below 2^31 in magnitude, so the width of the integer changes nothing.
template <LaneVector V> using MaskOf = decltype(V{} < V{});
template <LaneVector V> struct IntsOfLanes {
    typedef int32_t type __attribute__((vector_size(sizeof(V) / 2)));
};
template <LaneVector V>
requires(sizeof(V) == 64) struct IntsOfLanes<V> {
    typedef int64_t type __attribute__((vector_size(sizeof(V))));
};
template <LaneVector V> using IntsOf = typename IntsOfLanes<V>::type;

// v - 0.0 is v for every v, -0.0 included, which v + 0.0 is not.
template <class T> [[gnu::always_inline]] inline T Splat(double v) {
    if constexpr (std::is_same_v<T, double>) {
        return v;
    } else {
        return v - T{};
    }
}

[[gnu::always_inline]] inline double Select(bool c, double a, double b) {
    return c ? a : b;
}
// As bits: b ^ (c & (a ^ b)) takes two operations once a ^ b is hoisted out of a loop.
template <LaneVector V> [[gnu::always_inline]] inline V Select(MaskOf<V> c, V a, V b) {
    using M = MaskOf<V>;
    const M bits = reinterpret_cast<M>(b);
    return reinterpret_cast<V>(bits ^ (c & (reinterpret_cast<M>(a) ^ bits)));
}

// v where c holds, else 0.0, for one AND instead of a blend. Subtracting 0.0 leaves any x as it
// is; adding it does too, except that -0.0 + 0.0 is +0.0.
[[gnu::always_inline]] inline double Masked(bool c, double v) {
    return c ? v : 0.0;
}
template <LaneVector V> [[gnu::always_inline]] inline V Masked(MaskOf<V> c, V v) {
    return reinterpret_cast<V>(c & reinterpret_cast<MaskOf<V>>(v));
}

// Nearest integer, halves away from zero; x - 0.5 and x + (-0.5) are the same operation.
[[gnu::always_inline]] inline int32_t NearestInt(double a) {
    return static_cast<int32_t>(a >= 0.0 ? a + 0.5 : a - 0.5);
}
// The vector versions give 0.5 the sign bit of a, which differs from the test a >= 0.0 only for
// -0.0 and NaN, whose sums truncate to the same integer either way.
template <LaneVector V> [[gnu::always_inline]] inline IntsOf<V> NearestInt(V a) {
    using M = MaskOf<V>;
    const M half = reinterpret_cast<M>(Splat<V>(0.5));
    const M signedHalf = (reinterpret_cast<M>(a) & INT64_MIN) | half;
    return __builtin_convertvector(a + reinterpret_cast<V>(signedHalf), IntsOf<V>);
}

[[gnu::always_inline]] inline double ToReal(int32_t n) {
    return n;
}
template <class I> [[gnu::always_inline]] inline auto ToReal(I n) {
    typedef double V __attribute__((vector_size(sizeof(I) / sizeof(n[0]) * sizeof(double))));
    return __builtin_convertvector(n, V);
}

[[gnu::always_inline]] inline double NegateWhereOdd(double s, int32_t n) {
    return (n & 1) != 0 ? -s : s;
}
template <LaneVector V> [[gnu::always_inline]] inline V NegateWhereOdd(V s, IntsOf<V> n) {
    using M = MaskOf<V>;
    const M sign = __builtin_convertvector(n, M) << 63;
    return reinterpret_cast<V>(reinterpret_cast<M>(s) ^ sign);
}

// Polynomial sine, folded into [-pi/2, pi/2] around the nearest multiple of pi.
template <class T> [[gnu::always_inline]] inline T PolySine(const OscillatorBank& bank, T x) {
    const T a = x * bank.inversePi;
    const auto n = NearestInt(a);
    const T y = x - ToReal(n) * kPi;
    const T y2 = y * y;
    const T s = y * ((y2 * bank.sineC5 + bank.sineC3) * y2 + bank.sineC1);
    return NegateWhereOdd(s, n);
}

struct SineShape {
    template <class T> [[gnu::always_inline]] static T At(const OscillatorBank& bank, T p) {
        return PolySine(bank, p);
    }
};

// In phase with the sine: 0 at 0, 1 at pi/2, -1 at 3pi/2.
struct TriangleShape {
    template <class T> [[gnu::always_inline]] static T At(const OscillatorBank& bank, T p) {
        T x = p + bank.quarterTurn;
        x -= Masked(x > bank.period, Splat<T>(bank.period));
        const T v = x * bank.slope1;
        return Select(x >= kPi, 3.0 - v, v - 1.0);
    }
};

// Rises from 0 at phase 0 to 1 at pi, drops to -1 and rises back.
struct SawShape {
    template <class T> [[gnu::always_inline]] static T At(const OscillatorBank& bank, T p) {
        T x = p + kPi;
        x -= Masked(x > bank.period, Splat<T>(bank.period));
        return x * bank.inversePi - 1.0;
    }
};

// The fall takes 1 - g of the period, the rise g. Both pieces are evaluated as
// (x * slope + offset) + quarterTurn, the first with offset 0.0: that sum is exact, and a -0.0
// it turns into +0.0 gives the same total once quarterTurn is added.
struct GoldenSineShape {
    template <class T> [[gnu::always_inline]] static T At(const OscillatorBank& bank, T p) {
        T x = p - static_cast<double>(bank.goldenFraction) * kPi; // never -0.0
        x += Masked(x < 0.0, Splat<T>(bank.period));
        const auto first = x < bank.switchPoint;
        const T slope = Select(first, Splat<T>(bank.slope1), Splat<T>(bank.slope2));
        const T offset = Select(first, Splat<T>(0.0), Splat<T>(bank.offset2));
        return PolySine(bank, (x * slope + offset) + bank.quarterTurn);
    }
};

// The phases the golden half sine and triangle are advanced by before they wrap: a third and a
// half of g * 2pi.
constexpr double kGoldenHalfSineShift = 1.294336264;
constexpr double kGoldenTriangleShift = 1.941504077;

// The positive sine lobe stretched over the full range; the offset is a third of g * 2pi. The
// first piece gets offset 0.0 like the golden sine's; a sign lost on a zero product cannot show,
// as the sine of either zero is a zero that 2 * s - 1 turns into -1.
struct GoldenHalfSineShape {
    template <class T> [[gnu::always_inline]] static T At(const OscillatorBank& bank, T p) {
        T x = p + kGoldenHalfSineShift;
        x -= Masked(x > bank.period, Splat<T>(bank.period));
        const auto first = x < bank.switchPoint;
        const T slope = Select(first, Splat<T>(bank.slope1), Splat<T>(bank.slope2));
        const T offset = Select(first, Splat<T>(0.0), Splat<T>(bank.offset2));
        return 2.0 * PolySine(bank, x * slope + offset) - 1.0;
    }
};

// Rises over g of the period and falls over the rest; the offset is half of g * 2pi.
struct GoldenTriangleShape {
    template <class T> [[gnu::always_inline]] static T At(const OscillatorBank& bank, T p) {
        T x = p + kGoldenTriangleShift;
        x -= Masked(x > bank.period, Splat<T>(bank.period));
        return Select(x < bank.switchPoint, x * bank.slope1 - 1.0, bank.slope2 - x * bank.offset2);
    }
};

// High for the first g of the period.
struct GoldenSquareShape {
    template <class T> [[gnu::always_inline]] static T At(const OscillatorBank& bank, T p) {
        return Select(p >= bank.switchPoint, Splat<T>(-1.0), Splat<T>(1.0));
    }
};
