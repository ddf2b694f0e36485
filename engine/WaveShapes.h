#pragma once

#include "engine/Waveforms.h"

#include <cstdint>
#include <type_traits>

// Every helper here is forced inline: a four-lane value must never cross a call between code
// built for AVX2 and code built without it, whose calling conventions for it differ.
//
// The wave shapes written once for a single phase (double), for both ears at once (Lanes2) and
// for both ears of two tones (Lanes4). All run the same floating-point operations in the same
// order, so every lane gives exactly the single result.
using Lanes2 = double __attribute__((vector_size(16)));
using Mask2 = int64_t __attribute__((vector_size(16)));
using Int2 = int32_t __attribute__((vector_size(8)));

template <class T> [[gnu::always_inline]] inline T Splat(double v) {
    if constexpr (std::is_same_v<T, double>) {
        return v;
    } else if constexpr (std::is_same_v<T, Lanes2>) {
        return T{v, v};
    } else {
        return T{{v, v, v, v}};
    }
}

[[gnu::always_inline]] inline double Select(bool c, double a, double b) {
    return c ? a : b;
}
// As bits: b ^ (c & (a ^ b)) takes two operations once a ^ b is hoisted out of a loop.
[[gnu::always_inline]] inline Lanes2 Select(Mask2 c, Lanes2 a, Lanes2 b) {
    const Mask2 bits = reinterpret_cast<Mask2>(b);
    return reinterpret_cast<Lanes2>(bits ^ (c & (reinterpret_cast<Mask2>(a) ^ bits)));
}

// v where c holds, else 0.0, for one AND instead of a blend. Subtracting 0.0 leaves any x as it
// is; adding it does too, except that -0.0 + 0.0 is +0.0.
[[gnu::always_inline]] inline double Masked(bool c, double v) {
    return c ? v : 0.0;
}
[[gnu::always_inline]] inline Lanes2 Masked(Mask2 c, Lanes2 v) {
    return reinterpret_cast<Lanes2>(c & reinterpret_cast<Mask2>(v));
}

// Nearest integer, halves away from zero; x - 0.5 and x + (-0.5) are the same operation.
[[gnu::always_inline]] inline int32_t NearestInt(double a) {
    return static_cast<int32_t>(a >= 0.0 ? a + 0.5 : a - 0.5);
}
// The vector versions give 0.5 the sign bit of a, which differs from the test a >= 0.0 only for
// -0.0 and NaN, whose sums truncate to the same integer either way.
[[gnu::always_inline]] inline Int2 NearestInt(Lanes2 a) {
    const Mask2 half = reinterpret_cast<Mask2>(Splat<Lanes2>(0.5));
    const Mask2 signedHalf = (reinterpret_cast<Mask2>(a) & INT64_MIN) | half;
    return __builtin_convertvector(a + reinterpret_cast<Lanes2>(signedHalf), Int2);
}

[[gnu::always_inline]] inline double ToReal(int32_t n) {
    return n;
}
[[gnu::always_inline]] inline Lanes2 ToReal(Int2 n) {
    return __builtin_convertvector(n, Lanes2);
}

[[gnu::always_inline]] inline double NegateWhereOdd(double s, int32_t n) {
    return (n & 1) != 0 ? -s : s;
}
[[gnu::always_inline]] inline Lanes2 NegateWhereOdd(Lanes2 s, Int2 n) {
    const Mask2 sign = __builtin_convertvector(n, Mask2) << 63;
    return reinterpret_cast<Lanes2>(reinterpret_cast<Mask2>(s) ^ sign);
}

// Four lanes are only worth it with AVX2, which the renderer picks at run time on x86-64 Linux.
// Elsewhere they stay out: mingw-w64 cannot align the stack for spilled 256-bit registers.
#if defined(__x86_64__) && defined(__linux__) && defined(__GNUC__)
#define SERIVANE_LANES4 1

// The 256-bit vectors are wrapped at 16-byte alignment because GCC warns about the ABI of any
// function built without AVX that takes or returns a bare one. These functions are only ever
// inlined into AVX2 code, where the wrappers vanish.
using Raw4 = double __attribute__((vector_size(32)));
using RawMask4 = int64_t __attribute__((vector_size(32)));
using Int4 = int32_t __attribute__((vector_size(16)));

struct [[gnu::packed, gnu::aligned(16)]] Lanes4 {
    Raw4 v;

    [[gnu::always_inline]] Lanes4& operator+=(Lanes4 b) {
        return *this = {v + b.v};
    }
    [[gnu::always_inline]] Lanes4& operator-=(Lanes4 b) {
        return *this = {v - b.v};
    }
};

struct [[gnu::packed, gnu::aligned(16)]] Mask4 {
    RawMask4 bits;
};

// A double operand applies to every lane, as in GCC's own vector-scalar operations.
#define SERIVANE_LANES4_OPERATOR(op)                                                               \
    [[gnu::always_inline]] inline Lanes4 operator op(Lanes4 a, Lanes4 b) {                         \
        return {a.v op b.v};                                                                       \
    }                                                                                              \
    [[gnu::always_inline]] inline Lanes4 operator op(Lanes4 a, double b) {                         \
        return {a.v op b};                                                                         \
    }                                                                                              \
    [[gnu::always_inline]] inline Lanes4 operator op(double a, Lanes4 b) {                         \
        return {a op b.v};                                                                         \
    }
SERIVANE_LANES4_OPERATOR(+)
SERIVANE_LANES4_OPERATOR(-)
SERIVANE_LANES4_OPERATOR(*)
#undef SERIVANE_LANES4_OPERATOR

[[gnu::always_inline]] inline Mask4 operator<(Lanes4 a, double b) {
    return {a.v < b};
}
[[gnu::always_inline]] inline Mask4 operator>(Lanes4 a, double b) {
    return {a.v > b};
}
[[gnu::always_inline]] inline Mask4 operator>=(Lanes4 a, double b) {
    return {a.v >= b};
}

// The pair helpers above, for four lanes.
[[gnu::always_inline]] inline Lanes4 Select(Mask4 c, Lanes4 a, Lanes4 b) {
    const RawMask4 bits = reinterpret_cast<RawMask4>(b.v);
    return {reinterpret_cast<Raw4>(bits ^ (c.bits & (reinterpret_cast<RawMask4>(a.v) ^ bits)))};
}
[[gnu::always_inline]] inline Lanes4 Masked(Mask4 c, Lanes4 v) {
    return {reinterpret_cast<Raw4>(c.bits & reinterpret_cast<RawMask4>(v.v))};
}
[[gnu::always_inline]] inline Int4 NearestInt(Lanes4 a) {
    const RawMask4 half = reinterpret_cast<RawMask4>(Raw4{0.5, 0.5, 0.5, 0.5});
    const RawMask4 signedHalf = (reinterpret_cast<RawMask4>(a.v) & INT64_MIN) | half;
    return __builtin_convertvector(a.v + reinterpret_cast<Raw4>(signedHalf), Int4);
}
[[gnu::always_inline]] inline Lanes4 ToReal(Int4 n) {
    return {__builtin_convertvector(n, Raw4)};
}
[[gnu::always_inline]] inline Lanes4 NegateWhereOdd(Lanes4 s, Int4 n) {
    const RawMask4 sign = __builtin_convertvector(n, RawMask4) << 63;
    return {reinterpret_cast<Raw4>(reinterpret_cast<RawMask4>(s.v) ^ sign)};
}
#endif

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

// The positive sine lobe stretched over the full range; the offset is a third of g * 2pi. The
// first piece gets offset 0.0 like the golden sine's; a sign lost on a zero product cannot show,
// as the sine of either zero is a zero that 2 * s - 1 turns into -1.
struct GoldenHalfSineShape {
    template <class T> [[gnu::always_inline]] static T At(const OscillatorBank& bank, T p) {
        T x = p + 1.294336264;
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
        T x = p + 1.941504077;
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
