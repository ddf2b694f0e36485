#pragma once

#include "engine/Waveforms.h"

#include <cstdint>
#include <type_traits>

// The wave shapes written once for a single phase (double) and for both ears at once (Lanes2).
// Both run the same floating-point operations in the same order, so a lane of the pair gives
// exactly the single result.
using Lanes2 = double __attribute__((vector_size(16)));
using Mask2 = int64_t __attribute__((vector_size(16)));
using Int2 = int32_t __attribute__((vector_size(8)));

template <class T> inline T Splat(double v) {
    if constexpr (std::is_same_v<T, double>) {
        return v;
    } else {
        return T{v, v};
    }
}

inline double Select(bool c, double a, double b) {
    return c ? a : b;
}
inline Lanes2 Select(Mask2 c, Lanes2 a, Lanes2 b) {
    return c ? a : b;
}

// Nearest integer, halves away from zero; x - 0.5 and x + (-0.5) are the same operation.
inline int32_t NearestInt(double a) {
    return static_cast<int32_t>(a >= 0.0 ? a + 0.5 : a - 0.5);
}
inline Int2 NearestInt(Lanes2 a) {
    return __builtin_convertvector(a + Select(a >= 0.0, Splat<Lanes2>(0.5), Splat<Lanes2>(-0.5)),
                                   Int2);
}

inline double ToReal(int32_t n) {
    return n;
}
inline Lanes2 ToReal(Int2 n) {
    return __builtin_convertvector(n, Lanes2);
}

inline double NegateWhereOdd(double s, int32_t n) {
    return (n & 1) != 0 ? -s : s;
}
inline Lanes2 NegateWhereOdd(Lanes2 s, Int2 n) {
    const Mask2 sign = __builtin_convertvector(n, Mask2) << 63;
    return reinterpret_cast<Lanes2>(reinterpret_cast<Mask2>(s) ^ sign);
}

// Polynomial sine, folded into [-pi/2, pi/2] around the nearest multiple of pi.
template <class T> inline T SineApprox(const OscillatorBank& bank, T x) {
    const T a = x * bank.inversePi;
    const auto n = NearestInt(a);
    const T y = x - ToReal(n) * kPi;
    const T y2 = y * y;
    const T s = y * ((y2 * bank.sineC5 + bank.sineC3) * y2 + bank.sineC1);
    return NegateWhereOdd(s, n);
}

struct SineShape {
    template <class T> static T At(const OscillatorBank& bank, T p) { return SineApprox(bank, p); }
};

// In phase with the sine: 0 at 0, 1 at pi/2, -1 at 3pi/2.
struct TriangleShape {
    template <class T> static T At(const OscillatorBank& bank, T p) {
        T x = p + bank.quarterTurn;
        x = Select(x > bank.period, x - bank.period, x);
        const T v = x * bank.slope1;
        return Select(x >= kPi, 3.0 - v, v - 1.0);
    }
};

// Rises from 0 at phase 0 to 1 at pi, drops to -1 and rises back.
struct SawShape {
    template <class T> static T At(const OscillatorBank& bank, T p) {
        T x = p + kPi;
        x = Select(x > bank.period, x - bank.period, x);
        return x * bank.inversePi - 1.0;
    }
};

// The fall takes 1 - g of the period, the rise g.
struct GoldenSineShape {
    template <class T> static T At(const OscillatorBank& bank, T p) {
        T x = p - static_cast<double>(bank.goldenFraction) * kPi;
        x = Select(x >= 0.0, x, x + bank.period);
        const T y = Select(x < bank.switchPoint, x * bank.slope1 + bank.quarterTurn,
                           x * bank.slope2 + bank.offset2 + bank.quarterTurn);
        return SineApprox(bank, y);
    }
};

// The positive sine lobe stretched over the full range; the offset is a third of g * 2pi.
struct GoldenHalfSineShape {
    template <class T> static T At(const OscillatorBank& bank, T p) {
        T x = p + 1.294336264;
        x = Select(x > bank.period, x - bank.period, x);
        const T y = Select(x < bank.switchPoint, x * bank.slope1, x * bank.slope2 + bank.offset2);
        return 2.0 * SineApprox(bank, y) - 1.0;
    }
};

// Rises over g of the period and falls over the rest; the offset is half of g * 2pi.
struct GoldenTriangleShape {
    template <class T> static T At(const OscillatorBank& bank, T p) {
        T x = p + 1.941504077;
        x = Select(x > bank.period, x - bank.period, x);
        return Select(x < bank.switchPoint, x * bank.slope1 - 1.0, bank.slope2 - x * bank.offset2);
    }
};

// High for the first g of the period.
struct GoldenSquareShape {
    template <class T> static T At(const OscillatorBank& bank, T p) {
        return Select(p >= bank.switchPoint, Splat<T>(-1.0), Splat<T>(1.0));
    }
};
