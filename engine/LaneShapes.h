#pragma once

// Wave shapes that only the lane kernels use: faster forms of the shapes in WaveShapes.h that
// give the same samples for the phases the kernels pass, [0, period).

#include "engine/WaveShapes.h"

#include <bit>
#include <cstdint>
#include <utility>

namespace {

// Whether a lane-by-lane choice between two vectors is one instruction. SSE2 has no blend and
// takes three; there, subtracting a masked constant (x - 0.0 is x) is cheaper.
#if (defined(__x86_64__) || defined(__i386__)) && !defined(__SSE4_1__)
constexpr bool kBlends = false;
#else
constexpr bool kBlends = true;
#endif

// Whether the lanes' 64-bit unsigned minimum is one instruction, as AVX-512 has it.
#if defined(__AVX512VL__)
constexpr bool kUnsignedMin = true;
#else
constexpr bool kUnsignedMin = false;
#endif

// Of two doubles, one of them not negative, the smaller as bits: a negative double's sign bit
// makes it the larger. Of x >= 0 and x - c, that is x - c where it is not negative and x where
// it is, chosen without a comparison.
template <class V> [[gnu::always_inline]] inline V SmallerAsBits(V a, V b) {
    typedef uint64_t Bits __attribute__((vector_size(sizeof(V))));
    const Bits x = reinterpret_cast<Bits>(a);
    const Bits y = reinterpret_cast<Bits>(b);
    return reinterpret_cast<V>(x < y ? x : y);
}

// The constants of a bank as it is built. The sine forms below fold at thresholds found for
// these; a bank holding others takes the general shapes.
constexpr OscillatorBank kStockBank{};
constexpr double kInversePi = kStockBank.inversePi;
constexpr double kPeriod = kStockBank.period;
constexpr double kQuarterTurn = kStockBank.quarterTurn;
constexpr float kGolden = kStockBank.goldenFraction;

// The multiple of pi that PolySine takes off a non-negative argument.
constexpr int FoldOf(double arg) {
    return static_cast<int32_t>(arg * kInversePi + 0.5);
}

// The first double in (below, at] for which `holds` is true, for a predicate that is false at
// `below`, true at `at` and stays true once it is: non-negative doubles order as their bits.
template <class Predicate> constexpr double FirstWhere(Predicate holds, double below, double at) {
    uint64_t no = std::bit_cast<uint64_t>(below);
    uint64_t yes = std::bit_cast<uint64_t>(at);
    while (yes - no > 1) {
        const uint64_t middle = no + (yes - no) / 2;
        (holds(std::bit_cast<double>(middle)) ? yes : no) = middle;
    }
    return std::bit_cast<double>(yes);
}

// arg - n pi, the argument PolySine folds to; for odd n the negation, n pi - arg, so that the
// polynomial, odd and rounded symmetrically, gives the sample that PolySine negates. Both
// subtract the product n * pi that PolySine forms.
template <class T> [[gnu::always_inline]] constexpr T FoldedBy(int n, T arg) {
    const double multiple = n * kPi;
    if (n == 0) return arg;
    return n % 2 == 0 ? arg - multiple : multiple - arg;
}

// The multiple of pi PolySine takes off an argument that grows with a phase x in [0, end]: a
// step function of x, `least` at 0 and `most` at the end, reaching n at from[n]. Only whole
// multiples up to 3 are sums of pi as PolySine's product forms them.
struct Folds {
    int least = 0;
    int most = 0;
    double from[4] = {};
};

// Whether folding by n - 1 instead of n changes no argument from `from` to `end`, for a range of
// a few doubles. At the top of the golden sine's range, 5pi/2 less 2pi is 3pi less 5pi/2.
template <class ArgOf> constexpr bool FoldsAlike(ArgOf argOf, int n, double from, double end) {
    const uint64_t first = std::bit_cast<uint64_t>(from);
    const uint64_t last = std::bit_cast<uint64_t>(end);
    if (last - first > 64) return false;
    for (uint64_t bits = first; bits <= last; ++bits) {
        const double arg = argOf(std::bit_cast<double>(bits));
        if (FoldedBy(n - 1, arg) != FoldedBy(n, arg)) return false;
    }
    return true;
}

// The steps, without a top one that changes no argument: it would cost a comparison and a blend.
template <class ArgOf> constexpr Folds FoldsOver(ArgOf argOf, double end) {
    Folds folds;
    folds.least = FoldOf(argOf(0.0));
    folds.most = FoldOf(argOf(end));
    for (int n = folds.least + 1; n <= folds.most; ++n) {
        folds.from[n] = FirstWhere([&](double x) { return FoldOf(argOf(x)) >= n; }, 0.0, end);
    }
    while (folds.most > folds.least && FoldsAlike(argOf, folds.most, folds.from[folds.most], end)) {
        folds.from[folds.most--] = 0.0;
    }
    return folds;
}

// An argument folded into [-pi/2, pi/2], and the lanes whose polynomial value is negated. With
// blends the argument is negated instead, and no mask is carried.
template <class V, bool Negates = !kBlends> struct FoldedArgument {
    V y;
    MaskOf<V> negate;
};
template <class V> struct FoldedArgument<V, false> { V y; };

// PolySine's fold without the integer round trip: the multiple of pi is chosen by comparing x
// with the thresholds, one masked subtraction per step on AVX-512. Where PolySine negates the
// result, a blend takes the negated argument instead; only a zero's sign can differ, which no
// sum of a frame keeps: it starts from +0.0. Without blends the multiples of pi are summed, in
// the order that gives PolySine's products, and the sign is flipped afterwards by bits.
template <const Folds& F, class V>
[[gnu::always_inline]] inline FoldedArgument<V> FoldArgument(V x, V arg) {
    static_assert(F.least >= 0 && F.most <= 3);
    FoldedArgument<V> folded{};
    if constexpr (kBlends) {
        V& y = folded.y;
        y = FoldedBy(F.least, arg);
        auto steps = [&]<int... K>(std::integer_sequence<int, K...>) {
            ((y = x >= F.from[F.least + 1 + K] ? FoldedBy(F.least + 1 + K, arg) : y), ...);
        };
        steps(std::make_integer_sequence<int, F.most - F.least>{});
    } else {
        const V pi = Splat<V>(kPi);
        V multiple = Splat<V>(F.least * kPi);
        MaskOf<V> negate = F.least % 2 != 0 ? ~MaskOf<V>{} : MaskOf<V>{};
        for (int n = F.least + 1; n <= F.most; ++n) {
            const MaskOf<V> past = x >= F.from[n];
            // From no multiple, the first needs no sum.
            multiple = n == 1 ? Masked(past, pi) : multiple + Masked(past, pi);
            negate ^= past;
        }
        folded.y = arg - multiple;
        folded.negate = negate & INT64_MIN;
    }
    return folded;
}

// PolySine's polynomial of a folded argument. The result comes times Scale, a power of two, for
// free: coefficients scaled by it scale every rounded step of the polynomial exactly, its values
// lying far above the subnormals.
template <int Scale = 1, class V>
[[gnu::always_inline]] inline V SineOfFolded(const OscillatorBank& bank, FoldedArgument<V> a) {
    static_assert(Scale > 0 && (Scale & (Scale - 1)) == 0);
    const V y2 = a.y * a.y;
    const double c5 = bank.sineC5 * Scale;
    const double c3 = bank.sineC3 * Scale;
    const double c1 = bank.sineC1 * Scale;
    const V s = a.y * ((y2 * c5 + c3) * y2 + c1);
    if constexpr (kBlends) {
        return s;
    } else {
        return reinterpret_cast<V>(reinterpret_cast<MaskOf<V>>(s) ^ a.negate);
    }
}

// The shapes built on the folded sine come in two halves, Argument and OfArgument, so that the
// kernels can evaluate the two a frame apart: each half is a shorter chain of dependent
// operations. OfArgument is the polynomial itself unless a shape has its own.
template <class Shape> struct FoldedSineHalves {
    template <class V>
    [[gnu::always_inline]] static V OfArgument(const OscillatorBank& bank, FoldedArgument<V> a) {
        return SineOfFolded(bank, a);
    }

    template <class V> [[gnu::always_inline]] static V At(const OscillatorBank& bank, V p) {
        return Shape::OfArgument(bank, Shape::Argument(bank, p));
    }
};

// The sine of a phase in [0, 2pi): PolySine's argument is the phase itself.
struct PhaseSineShape : FoldedSineHalves<PhaseSineShape> {
    static constexpr Folds kFolds = FoldsOver([](double p) { return p; }, kPeriod);

    static bool Fits(const OscillatorBank& bank) {
        return bank.inversePi == kInversePi && bank.period == kPeriod;
    }

    template <class V>
    [[gnu::always_inline]] static FoldedArgument<V> Argument(const OscillatorBank&, V p) {
        return FoldArgument<kFolds>(p, p);
    }
};

// The two pieces of a golden sine's argument, x * slope1 below the switch point and
// x * slope2 + offset2 from there, with the constants SetWave gives a stock bank.
struct GoldenPieces {
    double switchPoint;
    double slope1;
    double slope2;
    double offset2;

    bool In(const OscillatorBank& bank) const {
        return bank.inversePi == kInversePi && bank.period == kPeriod &&
               bank.quarterTurn == kQuarterTurn && bank.goldenFraction == kGolden &&
               bank.switchPoint == switchPoint && bank.slope1 == slope1 && bank.slope2 == slope2 &&
               bank.offset2 == offset2;
    }

    // Each piece grows with x; the folds are a step function of x when they do not fall back
    // where the pieces meet.
    template <class ArgOf> constexpr bool FoldsGrow(ArgOf argOf) const {
        return slope1 > 0.0 && slope2 > 0.0 &&
               FoldOf(argOf(std::bit_cast<double>(std::bit_cast<uint64_t>(switchPoint) - 1))) <=
                   FoldOf(argOf(switchPoint));
    }

    // The lanes' form: the first piece leaves out the general shape's + 0.0, which changes no
    // product of a phase x >= 0 and a positive slope. The second piece takes over from `from`:
    // the switch point, or a threshold just below it where that changes no sample.
    template <class V> [[gnu::always_inline]] V ArgOf(V x, double from) const {
        const MaskOf<V> second = x >= from;
        if constexpr (kBlends) {
            V t = x * slope1;
            t = second ? x * slope2 : t;
            return second ? t + offset2 : t;
        } else {
            return x * Select(second, Splat<V>(slope2), Splat<V>(slope1)) +
                   Masked(second, Splat<V>(offset2));
        }
    }
};

constexpr double kGoldenRest = 1.0f - kGolden;

constexpr GoldenPieces kGoldenSinePieces{kGoldenRest * kPeriod, 0.5 / kGoldenRest, 0.5 / kGolden,
                                         static_cast<double>(1.0f - 2.0f * (1.0f - kGolden)) * kPi /
                                             kGolden};

constexpr double GoldenSineArg(double x) {
    const GoldenPieces& k = kGoldenSinePieces;
    return x < k.switchPoint ? (x * k.slope1 + 0.0) + kQuarterTurn
                             : (x * k.slope2 + k.offset2) + kQuarterTurn;
}

// x runs from 0 to the period; its argument from pi/2 to 5pi/2, so the multiple is 1 below
// the switch point and 2 from there; 3 at the very top gives the same argument.
struct GoldenSineLanes : FoldedSineHalves<GoldenSineLanes> {
    // Long enough that a single tone evaluates it for two frames at once.
    static constexpr bool kLong = true;
    static_assert(kGoldenSinePieces.FoldsGrow(GoldenSineArg));
    static constexpr Folds kFolds = FoldsOver(GoldenSineArg, kPeriod);
    static constexpr double kShift = static_cast<double>(kGolden) * kPi;

    static bool Fits(const OscillatorBank& bank) { return kGoldenSinePieces.In(bank); }

    template <class V>
    [[gnu::always_inline]] static FoldedArgument<V> Argument(const OscillatorBank&, V p) {
        V x = p - kShift;
        // x is negative exactly where p < kShift: comparing the phase, the wrap need not wait
        // for the difference.
        if constexpr (kUnsignedMin) {
            x = SmallerAsBits(x, x + kPeriod);
        } else if constexpr (kBlends) {
            x = p < kShift ? x + kPeriod : x;
        } else {
            x += Masked(p < kShift, Splat<V>(kPeriod));
        }
        const GoldenPieces& k = kGoldenSinePieces;
        return FoldArgument<kFolds>(x, k.ArgOf(x, k.switchPoint) + kQuarterTurn);
    }
};

constexpr GoldenPieces kGoldenHalfSinePieces{kGolden * kPeriod, 0.25 / kGolden, 0.25 / kGoldenRest,
                                             static_cast<double>(1.0f - 2.0f * kGolden) * kPi /
                                                 kGoldenRest * 0.5};

constexpr double GoldenHalfSineArg(double x) {
    const GoldenPieces& k = kGoldenHalfSinePieces;
    return x < k.switchPoint ? x * k.slope1 + 0.0 : x * k.slope2 + k.offset2;
}

// Whether a golden half sine's second piece may start at `from`, at or above the fold (which
// starts at `fold`) and below the switch point: between the two, the fold by one of either piece's
// argument gives the same sample, as OfArgument forms it.
constexpr bool GoldenHalfSecondPieceMayStartAt(double from, double fold) {
    const GoldenPieces& k = kGoldenHalfSinePieces;
    const uint64_t first = std::bit_cast<uint64_t>(from);
    const uint64_t last = std::bit_cast<uint64_t>(k.switchPoint);
    if (from < fold || first > last || last - first > 64) return false;
    auto sample = [](double arg) {
        const double y = FoldedBy(1, arg);
        const double y2 = y * y;
        const OscillatorBank& b = kStockBank;
        return y * ((y2 * (b.sineC5 * 2) + b.sineC3 * 2) * y2 + b.sineC1 * 2) - 1.0;
    };
    for (uint64_t bits = first; bits < last; ++bits) {
        const double x = std::bit_cast<double>(bits);
        if (sample(x * k.slope1) != sample(x * k.slope2 + k.offset2)) return false;
    }
    return true;
}

// x runs from just above 0 to the period; its argument from 0 to pi, so the multiple is 0
// below pi/2, about where the pieces meet, and 1 from there.
struct GoldenHalfSineLanes : FoldedSineHalves<GoldenHalfSineLanes> {
    // Long enough that a single tone evaluates it for two frames at once.
    static constexpr bool kLong = true;
    static_assert(kGoldenHalfSinePieces.FoldsGrow(GoldenHalfSineArg));
    static constexpr Folds kFolds = FoldsOver(GoldenHalfSineArg, kPeriod);

    // The phases whose shifted x passes the period: comparing the phase, the wrap need not wait
    // for the sum.
    static constexpr double kWrapFrom =
        FirstWhere([](double p) { return p + kGoldenHalfSineShift > kPeriod; }, 0.0, kPeriod);

    // The fold starts a double below the switch point; the pieces starting there too lets one
    // comparison serve both.
    static constexpr double kSecondFrom = kFolds.from[1];
    static_assert(kFolds.least == 0 && kFolds.most == 1 &&
                  GoldenHalfSecondPieceMayStartAt(kSecondFrom, kFolds.from[1]));

    static bool Fits(const OscillatorBank& bank) { return kGoldenHalfSinePieces.In(bank); }

    template <class V>
    [[gnu::always_inline]] static FoldedArgument<V> Argument(const OscillatorBank&, V p) {
        V x = p + kGoldenHalfSineShift;
        if constexpr (kBlends) {
            x = p >= kWrapFrom ? x - kPeriod : x;
        } else {
            x -= Masked(p >= kWrapFrom, Splat<V>(kPeriod));
        }
        return FoldArgument<kFolds>(x, kGoldenHalfSinePieces.ArgOf(x, kSecondFrom));
    }

    template <class V>
    [[gnu::always_inline]] static V OfArgument(const OscillatorBank& bank, FoldedArgument<V> a) {
        return SineOfFolded<2>(bank, a) - 1.0;
    }
};

// The phase moved on by a shift below one period and brought back below the period, the
// choice one masked subtraction on AVX-512.
template <class V> [[gnu::always_inline]] inline V ShiftedPhase(V p, double shift, double period) {
    const V x = p + shift;
    return x > period ? x - period : x;
}

// The triangle with its choices as blends, each of which AVX-512 makes one masked operation,
// where the general shape's bit selection takes three.
struct LaneTriangleShape {
    template <class V> [[gnu::always_inline]] static V At(const OscillatorBank& bank, V p) {
        if constexpr (kBlends) {
            const V x = ShiftedPhase(p, bank.quarterTurn, bank.period);
            const V v = x * bank.slope1;
            return x >= kPi ? 3.0 - v : v - 1.0;
        } else {
            return TriangleShape::At(bank, p);
        }
    }
};

// The saw with its wrap as one masked subtraction on AVX-512, where the general shape's masked
// constant takes a move and a subtraction.
struct LaneSawShape {
    template <class V> [[gnu::always_inline]] static V At(const OscillatorBank& bank, V p) {
        if constexpr (kBlends) {
            const V x = ShiftedPhase(p, kPi, bank.period);
            return x * bank.inversePi - 1.0;
        } else {
            return SawShape::At(bank, p);
        }
    }
};

// The golden triangle as one product and sum, x * k + c, with k and c blended per piece:
// slope2 - x * offset2 is exactly x * -offset2 + slope2.
struct LaneGoldenTriangleShape {
    template <class V> [[gnu::always_inline]] static V At(const OscillatorBank& bank, V p) {
        if constexpr (kBlends) {
            const V x = ShiftedPhase(p, kGoldenTriangleShift, bank.period);
            const MaskOf<V> rising = x < bank.switchPoint;
            const V k = rising ? Splat<V>(bank.slope1) : Splat<V>(-bank.offset2);
            const V c = rising ? Splat<V>(-1.0) : Splat<V>(bank.slope2);
            return x * k + c;
        } else {
            return GoldenTriangleShape::At(bank, p);
        }
    }
};

// Calls use(Shape{}) with the shape the kernels evaluate for the bank's wave function: a faster
// form where the bank holds the constants that form was made for, else the general one. False,
// without a call, for a function no shape stands for.
template <class Use> bool WithLaneShape(const OscillatorBank& bank, Use&& use) {
    const WaveFunction wave = bank.waveFunction;
    auto with = [&](auto shape) {
        use(shape);
        return true;
    };
    if (wave == &SineWave) {
        return PhaseSineShape::Fits(bank) ? with(PhaseSineShape{}) : with(SineShape{});
    }
    if (wave == &TriangleWave) return with(LaneTriangleShape{});
    if (wave == &SawWave) return with(LaneSawShape{});
    if (wave == &GoldenSineWave) {
        return GoldenSineLanes::Fits(bank) ? with(GoldenSineLanes{}) : with(GoldenSineShape{});
    }
    if (wave == &GoldenHalfSineWave) {
        return GoldenHalfSineLanes::Fits(bank) ? with(GoldenHalfSineLanes{})
                                               : with(GoldenHalfSineShape{});
    }
    if (wave == &GoldenTriangleWave) return with(LaneGoldenTriangleShape{});
    if (wave == &GoldenSquareWave) return with(GoldenSquareShape{});
    return false;
}

} // namespace
