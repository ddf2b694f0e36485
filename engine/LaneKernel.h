#pragma once

// The tone loop with tones in vector lanes, included once by each render path's file, which is
// built for its own instruction set. Everything here has internal linkage, so that no function
// built for AVX-512 can stand in for the plain one at link time.
//
// A chunk of frames is rendered group by group. For each group of tones that fills a vector, both
// envelopes of all its tones step together, a lane whose segment ends leaving the vector for a
// scalar fix-up; then both ears are sampled and the samples stored per frame. Each ear's sum is
// then added up per frame in tone order, as the frame-by-frame loop does. No operation is fused
// or reordered, so every lane gives exactly the frame-by-frame result.

#include "engine/LaneKernels.h"
#include "engine/LaneShapes.h"

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#endif

#include <cmath>
#include <cstring>
#include <limits>
#include <new>
#include <type_traits>
#include <utility>

namespace {

template <class V> constexpr int kWidth = sizeof(V) / sizeof(double);

// Whether any lane has value >= upper or value <= lower. AVX-512 compares straight into mask
// registers; built from vector masks, the test would take three more instructions.
template <class V> [[gnu::always_inline]] inline bool AnyReached(V value, V upper, V lower) {
#if defined(__x86_64__) || defined(__i386__)
    if constexpr (sizeof(V) == 64) {
        const __m512d v = reinterpret_cast<__m512d>(value);
        return (_mm512_cmp_pd_mask(v, reinterpret_cast<__m512d>(upper), _CMP_GE_OQ) |
                _mm512_cmp_pd_mask(v, reinterpret_cast<__m512d>(lower), _CMP_LE_OQ)) != 0;
    } else if constexpr (sizeof(V) == 32) {
        const MaskOf<V> m = (value >= upper) | (value <= lower);
        return _mm256_movemask_pd(reinterpret_cast<__m256d>(m)) != 0;
    } else {
        const MaskOf<V> m = (value >= upper) | (value <= lower);
        return _mm_movemask_pd(reinterpret_cast<__m128d>(m)) != 0;
    }
#else
    static_assert(sizeof(V) == 16, "wider lanes are built for x86-64 only");
    const MaskOf<V> m = (value >= upper) | (value <= lower);
    return (m[0] | m[1]) != 0;
#endif
}

template <class V> [[gnu::always_inline]] inline V Load(const double* p) {
    V v;
    std::memcpy(&v, p, sizeof v);
    return v;
}

template <class V> [[gnu::always_inline]] inline void Store(double* p, V v) {
    std::memcpy(p, &v, sizeof v);
}

// A phase advanced by less than a period, brought back below it.
template <class V> [[gnu::always_inline]] inline V WrapOnce(V phase, double period) {
    if constexpr (kUnsignedMin) {
        return SmallerAsBits(phase, phase - period);
    } else if constexpr (kBlends) {
        return phase >= period ? phase - period : phase;
    } else {
        return phase - Masked(phase >= period, Splat<V>(period));
    }
}

// Where a lane's segment ends: a rising segment when the value reaches `upper`, a falling one
// when it reaches `lower`. The bound a segment does not use is NaN, which no comparison passes.
struct SegmentBounds {
    double upper;
    double lower;
};

inline SegmentBounds BoundsOf(const SegmentEnvelope& env, int segment) {
    const double end = env.endLevels[segment];
    constexpr double kNever = std::numeric_limits<double>::quiet_NaN();
    return env.rising[segment] != 0 ? SegmentBounds{end, kNever} : SegmentBounds{kNever, end};
}

// One envelope per lane, the current segment's terms in registers.
template <class V> struct EnvelopeLanes {
    V value;
    V multiplier;
    V increment;
    V upper;
    V lower;

    // Member by member: adjacent whole copies merge into a string instruction that costs more to
    // start than these moves take.
    void CopyFrom(const EnvelopeLanes& other) {
        value = other.value;
        multiplier = other.multiplier;
        increment = other.increment;
        upper = other.upper;
        lower = other.lower;
    }
};

// The envelopes behind the lanes; an unused lane has none and never ends a segment.
template <class V> struct EnvelopeSlots { SegmentEnvelope* env[kWidth<V>]; };

template <class V> EnvelopeLanes<V> LoadEnvelopes(const EnvelopeSlots<V>& slots) {
    constexpr double kNever = std::numeric_limits<double>::quiet_NaN();
    EnvelopeLanes<V> e{};
    for (int j = 0; j < kWidth<V>; ++j) {
        const SegmentEnvelope* env = slots.env[j];
        if (env == nullptr) {
            e.multiplier[j] = 1.0;
            e.upper[j] = kNever;
            e.lower[j] = kNever;
            continue;
        }
        const SegmentBounds bounds = BoundsOf(*env, env->segment);
        e.value[j] = env->value;
        e.multiplier[j] = env->multipliers[env->segment];
        e.increment[j] = env->increments[env->segment];
        e.upper[j] = bounds.upper;
        e.lower[j] = bounds.lower;
    }
    return e;
}

template <class V> void StoreEnvelopes(const EnvelopeSlots<V>& slots, const EnvelopeLanes<V>& e) {
    for (int j = 0; j < kWidth<V>; ++j) {
        if (slots.env[j] != nullptr) slots.env[j]->value = e.value[j];
    }
}

// The lanes whose value reached the end level snap to it and take the next segment, or start
// the next pass. Taken a few times per pass, so it stays out of the sample loop.
template <class V>
[[gnu::noinline]] EnvelopeLanes<V> NextSegments(EnvelopeLanes<V> e, const EnvelopeSlots<V>& slots) {
    for (int j = 0; j < kWidth<V>; ++j) {
        if (!(e.value[j] >= e.upper[j] || e.value[j] <= e.lower[j])) continue;
        SegmentEnvelope& env = *slots.env[j];
        const int next = env.segment + 1 == env.count ? 0 : env.segment + 1;
        e.value[j] = next == 0 ? env.start : static_cast<double>(env.endLevels[env.segment]);
        env.segment = next;
        const SegmentBounds bounds = BoundsOf(env, next);
        e.multiplier[j] = env.multipliers[next];
        e.increment[j] = env.increments[next];
        e.upper[j] = bounds.upper;
        e.lower[j] = bounds.lower;
    }
    return e;
}

// A linear segment has multiplier 1, so the curved form gives the linear step's sum exactly.
// Unchecked, the step leaves out the end test, for chunks in which no lane can reach its end;
// Linear leaves out the product, 1 * v being v exactly, for chunks whose every lane is linear.
template <bool Checked, bool Linear = false, class V>
[[gnu::always_inline]] inline void Step(EnvelopeLanes<V>& e, const EnvelopeSlots<V>& slots) {
    if constexpr (Linear) {
        e.value = e.value + e.increment;
    } else {
        e.value = e.multiplier * e.value + e.increment;
    }
    if constexpr (Checked) {
        if (AnyReached(e.value, e.upper, e.lower)) [[unlikely]] {
            e = NextSegments(e, slots);
        }
    }
}

template <class V> bool AllLinear(const EnvelopeLanes<V>& e) {
    for (int j = 0; j < kWidth<V>; ++j) {
        if (e.multiplier[j] != 1.0) return false;
    }
    return true;
}

// How far each lane's envelope can move within `steps` steps of v <- m * v + c, each rounded, or
// NaN where the estimate does not hold. Unrounded, v moves geometrically towards or away from
// c / (1 - m), so k steps move it by at most k times the first step (m - 1) v + c, times m^k
// where m > 1; curved segments, whose m - 1 and c nearly cancel, step far less than either term.
// Each rounding of a step adds below 2^-52 of the magnitudes involved, which stay within r, and r
// itself follows from the step count. The margins are wide enough that rounding in this estimate
// cannot matter, and a lane that fails any test (NaN, infinite jumps) gets NaN, which no
// comparison passes.
template <class V> V ReachWithin(const EnvelopeLanes<V>& e, int steps) {
    constexpr double kRounding = 4.5e-16; // above 2^-52, for both roundings of a step
    const double k = steps;
    const V m = e.multiplier;
    const V drift = Select(m > 1.0, m - 1.0, 1.0 - m);
    const V mag = Select(e.value < 0.0, -e.value, e.value);
    const V add = Select(e.increment < 0.0, -e.increment, e.increment);
    const V shrink = 1.0 - k * (drift + kRounding * m);
    // 1 / shrink without a division: for shrink in [0.5, 1] it lies below 3 - 2 shrink.
    const V inverseShrink = 3.0 - 2.0 * shrink;
    const V reach = (mag + k * add * (1.0 + kRounding)) * inverseShrink;
    const V firstStep = (m - 1.0) * e.value + e.increment;
    const V firstMost =
        Select(firstStep < 0.0, -firstStep, firstStep) + kRounding * (drift * mag + add);
    const V growth = Select(m > 1.0, inverseShrink, Splat<V>(1.0));
    const V stepMost = growth * (firstMost + kRounding * (m * reach + add));
    const MaskOf<V> bounded = (m > 0.0) & (shrink > 0.5) & (mag < 1e300) & (add < 1e300);
    return Select(bounded, k * stepMost * (1.0 + 1e-6) + 1e-300,
                  Splat<V>(std::numeric_limits<double>::quiet_NaN()));
}

// Whether `holds` is set in every lane that has an envelope.
template <class V> bool HoldsForEveryEnvelope(MaskOf<V> holds, const EnvelopeSlots<V>& slots) {
    for (int j = 0; j < kWidth<V>; ++j) {
        if (slots.env[j] != nullptr && holds[j] == 0) return false;
    }
    return true;
}

// Whether no lane's envelope can end its segment while it moves by no more than `reach`.
template <class V>
bool NoSegmentEnds(const EnvelopeLanes<V>& e, const EnvelopeSlots<V>& slots, V reach) {
    const MaskOf<V> rising = e.upper == e.upper;
    const V distance = Select(rising, e.upper - e.value, e.value - e.lower);
    return HoldsForEveryEnvelope<V>(distance > reach, slots);
}

// Whether every lane's envelope stays above zero while it moves by no more than `reach`.
template <class V>
bool StaysPositive(const EnvelopeLanes<V>& e, const EnvelopeSlots<V>& slots, V reach) {
    return HoldsForEveryEnvelope<V>(e.value > reach, slots);
}

// One crossfade per lane; a lane whose fade is idle keeps its value.
template <class V> struct FadeLanes {
    MaskOf<V> active;
    V from;
    V current;
    V progress;
    V step;

    void Load(const Crossfade* const* fades) {
        for (int j = 0; j < kWidth<V>; ++j) {
            const Crossfade& f = *fades[j];
            active[j] = f.active ? -1 : 0;
            from[j] = f.from;
            current[j] = f.current;
            progress[j] = f.progress;
            step[j] = f.step;
        }
    }

    void Store(Crossfade* const* fades, int lanes) const {
        for (int j = 0; j < lanes; ++j) {
            Crossfade& f = *fades[j];
            f.active = active[j] != 0;
            f.current = current[j];
            f.progress = progress[j];
        }
    }

    [[gnu::always_inline]] V Glide(V value) {
        const V moved = progress + step;
        const V glided = (value - from) * moved + from;
        progress = Select(active, moved, progress);
        current = Select(active, glided, current);
        value = Select(active, glided, value);
        active &= moved < 1.0;
        return value;
    }
};

// Shapes with halves are evaluated a frame apart: the second half of the last frame's samples runs
// beside the first half of this frame's. Each half is a shorter chain of dependent operations,
// which leaves the processor's scheduler room for the envelopes' and phases' work.
template <class Shape>
concept HasHalves = requires(const OscillatorBank& bank, Lanes2 p) {
    Shape::OfArgument(bank, Shape::Argument(bank, p));
};

// Everything a group of tones carries from one chunk to the next.
template <class V> struct ToneGroup {
    int first = 0;
    int lanes = 0;
    EnvelopeSlots<V> freqSlots{};
    EnvelopeSlots<V> volSlots{};
    Crossfade* rateFades[kEars][kWidth<V>] = {};
    Crossfade* levelFades[kEars][kWidth<V>] = {};
    bool fading = false;

    ToneGroup() = default;
    ToneGroup(ToneVoices& voices, int firstTone, int toneCount) : first(firstTone) {
        lanes = toneCount - first < kWidth<V> ? toneCount - first : kWidth<V>;
        for (int j = 0; j < kWidth<V>; ++j) {
            // Unused lanes glide with the last tone's fades but store nothing.
            const int tone = first + (j < lanes ? j : lanes - 1);
            freqSlots.env[j] = j < lanes ? &voices.freqEnvelopes[tone] : nullptr;
            volSlots.env[j] = j < lanes ? &voices.volEnvelopes[tone] : nullptr;
            for (int e = 0; e < kEars; ++e) {
                rateFades[e][j] = &voices.rateFades[e][tone];
                levelFades[e][j] = &voices.levelFades[e][tone];
                fading =
                    fading || (j < lanes && (rateFades[e][j]->active || levelFades[e][j]->active));
            }
        }
    }
};

// A group's targets and phases in lanes, loaded for one chunk.
template <class V> struct ToneLanes {
    V span[kEars];
    V low[kEars];
    V rate[kEars];
    V phase[kEars];
    V scale;
    V offset;
    V level;

    void Load(const OscillatorBank& bank, const ToneGroup<V>& group) {
        for (int j = 0; j < kWidth<V>; ++j) {
            const int tone = group.first + (j < group.lanes ? j : group.lanes - 1);
            for (int e = 0; e < kEars; ++e) {
                const ToneIncrement& r = bank.rates[e][tone];
                span[e][j] = r.span;
                low[e][j] = r.low;
                rate[e][j] = r.value;
                phase[e][j] = bank.phase[e][tone];
            }
            scale[j] = bank.levels[tone].scale;
            offset[j] = bank.levels[tone].offset;
            level[j] = bank.levels[tone].value;
        }
    }

    // Member by member: copied whole, a struct of this size takes a string instruction that
    // costs more to start than these moves take.
    void CopyFrom(const ToneLanes& other) {
        for (int e = 0; e < kEars; ++e) {
            span[e] = other.span[e];
            low[e] = other.low[e];
            rate[e] = other.rate[e];
            phase[e] = other.phase[e];
        }
        scale = other.scale;
        offset = other.offset;
        level = other.level;
    }

    void Store(OscillatorBank& bank, const ToneGroup<V>& group) const {
        for (int j = 0; j < group.lanes; ++j) {
            const int tone = group.first + j;
            for (int e = 0; e < kEars; ++e) {
                bank.rates[e][tone].value = rate[e][j];
                bank.phase[e][tone] = phase[e][j];
            }
            bank.levels[tone].value = level[j];
        }
    }
};

// Groups of tones through one chunk. Each envelope steps once per ear, left first, so the
// right ear sees the value one step later; the level target is shared, and what remains of it
// is the right ear's. The phase wrap needs every step below one period, which the caller checks.
// The envelopes and phases of a group are chains of dependent operations; G groups side by side
// in the frame loop give the processor independent chains to overlap.
template <class V, class Shape, bool Fading, bool Checked, bool LinearFreq, bool Scaled, int G>
void MixGroups(ToneVoices& voices, const ToneGroup<V>* group, EnvelopeLanes<V>* freq,
               EnvelopeLanes<V>* vol, ToneLanes<V>* keptTones, LaneScratch& samples, int frames) {
    // A copy the sample stores cannot alias, so the wave constants stay in registers.
    const OscillatorBank bank = voices.bank;
    ToneLanes<V> tones[G];
    FadeLanes<V> rateFades[G][kEars];
    FadeLanes<V> levelFades[G][kEars];
    // Each group's first tone, read once: the compiler cannot tell that the sample stores leave
    // the kept groups alone.
    int column[G];
    for (int g = 0; g < G; ++g) {
        column[g] = group[g].first;
        tones[g].CopyFrom(keptTones[g]);
        if constexpr (Fading) {
            for (int e = 0; e < kEars; ++e) {
                rateFades[g][e].Load(group[g].rateFades[e]);
                levelFades[g][e].Load(group[g].levelFades[e]);
            }
        }
    }
    const double period = bank.period;
    // Without fades the targets need not be kept per frame: the last frame's are recomputed
    // from the envelope values after the loop, by the same operations.
    V leftFreq[G];
    for (int g = 0; g < G; ++g) leftFreq[g] = freq[g].value;
    // A shape with halves: the first halves of a frame's samples, and their levels, finished a
    // frame later. The first frame finishes the zero state into the row before the chunk's.
    using Half = std::conditional_t<HasHalves<Shape>, FoldedArgument<V>, V>;
    Half held[kEars][G] = {};
    V heldLevel[kEars][G] = {};
    for (int t = 0; t < frames; ++t) {
        for (int e = 0; e < kEars; ++e) {
            for (int g = 0; g < G; ++g) {
                Step<Checked, LinearFreq>(freq[g], group[g].freqSlots);
                if (e == 0) leftFreq[g] = freq[g].value;
                V rate = tones[g].span[e] * freq[g].value + tones[g].low[e];
                Step<Checked>(vol[g], group[g].volSlots);
                V level = tones[g].scale * vol[g].value;
                if constexpr (!Scaled) level = level + tones[g].offset;
                if constexpr (Fading) {
                    rate = rateFades[g][e].Glide(rate);
                    level = levelFades[g][e].Glide(level);
                    tones[g].rate[e] = rate;
                    tones[g].level = level;
                }
                const V p = WrapOnce(tones[g].phase[e], period);
                if constexpr (HasHalves<Shape>) {
                    Store(&samples.rows[t][e][column[g]],
                          Shape::OfArgument(bank, held[e][g]) * heldLevel[e][g]);
                    held[e][g] = Shape::Argument(bank, p);
                    heldLevel[e][g] = level;
                } else {
                    Store(&samples.rows[1 + t][e][column[g]], Shape::At(bank, p) * level);
                }
                tones[g].phase[e] = p + rate;
            }
        }
    }
    if constexpr (HasHalves<Shape>) {
        for (int e = 0; frames > 0 && e < kEars; ++e) {
            for (int g = 0; g < G; ++g) {
                Store(&samples.rows[frames][e][column[g]],
                      Shape::OfArgument(bank, held[e][g]) * heldLevel[e][g]);
            }
        }
    }
    for (int g = 0; g < G; ++g) {
        ToneLanes<V>& lanes = tones[g];
        if (!Fading && frames > 0) {
            lanes.rate[0] = lanes.span[0] * leftFreq[g] + lanes.low[0];
            lanes.rate[1] = lanes.span[1] * freq[g].value + lanes.low[1];
            lanes.level = lanes.scale * vol[g].value + lanes.offset;
        }
        keptTones[g].CopyFrom(lanes);
        if constexpr (Fading) {
            for (int e = 0; e < kEars; ++e) {
                rateFades[g][e].Store(group[g].rateFades[e], group[g].lanes);
                levelFades[g][e].Store(group[g].levelFades[e], group[g].lanes);
            }
        }
    }
}

template <class V> struct HalfLanes {
    typedef double type __attribute__((vector_size(sizeof(V) / 2)));
};

// The sums of eight-lane paths take four lanes: four 4 x 4 transposes in 256-bit registers cost
// less than one 8 x 8 in 512-bit ones, whose shuffles cross the register halves.
template <class V>
using SumLanes = std::conditional_t<kWidth<V> == 8, typename HalfLanes<V>::type, V>;

// Swaps the off-diagonal D x D blocks of every 2D x 2D block of a lane-by-lane matrix: done for
// every power of two D below the width, it transposes the matrix.
template <int D, class V, int... K>
[[gnu::always_inline]] inline V BlocksFromBoth(V a, V b, std::integer_sequence<int, K...>) {
    return __builtin_shufflevector(a, b, ((K & D) == 0 ? K : kWidth<V> + K - D)...);
}

template <int D, class V, int... K>
[[gnu::always_inline]] inline V OtherBlocks(V a, V b, std::integer_sequence<int, K...>) {
    return __builtin_shufflevector(a, b, ((K & D) == 0 ? K + D : kWidth<V> + K)...);
}

template <class V, int D = kWidth<V> / 2> [[gnu::always_inline]] inline void Transpose(V* rows) {
    constexpr auto lanes = std::make_integer_sequence<int, kWidth<V>>{};
    for (int i = 0; i < kWidth<V>; ++i) {
        if ((i & D) != 0) continue;
        const V a = rows[i];
        const V b = rows[i + D];
        rows[i] = BlocksFromBoth<D>(a, b, lanes);
        rows[i + D] = OtherBlocks<D>(a, b, lanes);
    }
    if constexpr (D > 1) Transpose<V, D / 2>(rows);
}

// Each ear's sum of one frame, tone by tone from 0.0 as the frame-by-frame loop adds them. The
// frames go in lanes: a square of samples is transposed so that each row holds one tone over
// as many frames, and the rows are added in tone order.
template <class V>
void SumInToneOrder(const LaneScratch& samples, int toneCount, const SumsOut& sums, int frames) {
    constexpr int kW = kWidth<V>;
    int t = 0;
    for (; t + kW <= frames; t += kW) {
        // The ears' sums are two chains of dependent additions, interleaved to overlap.
        V sum[kEars] = {Splat<V>(0.0), Splat<V>(0.0)};
        for (int first = 0; first < toneCount; first += kW) {
            V rows[kEars][kW];
            for (int e = 0; e < kEars; ++e) {
                for (int k = 0; k < kW; ++k) {
                    rows[e][k] = Load<V>(&samples.rows[1 + t + k][e][first]);
                }
                Transpose(rows[e]);
            }
            // A full vector's count is a constant, so that its loop unrolls without tests.
            const int tones = toneCount - first < kW ? toneCount - first : kW;
            if (tones == kW) {
                for (int i = 0; i < kW; ++i) {
                    for (int e = 0; e < kEars; ++e) sum[e] += rows[e][i];
                }
            } else {
                for (int i = 0; i < tones; ++i) {
                    for (int e = 0; e < kEars; ++e) sum[e] += rows[e][i];
                }
            }
        }
        for (int e = 0; e < kEars; ++e) {
            V out = sum[e] * sums.gain;
            if (sums.in != nullptr) out = out + Load<V>(&sums.in[e][t]);
            Store(&sums.out[e][t], out);
        }
    }
    for (; t < frames; ++t) {
        for (int e = 0; e < kEars; ++e) {
            double sum = 0.0;
            for (int i = 0; i < toneCount; ++i) sum += samples.rows[1 + t][e][i];
            sums.out[e][t] = sums.in != nullptr ? sum * sums.gain + sums.in[e][t] : sum * sums.gain;
        }
    }
}

// Whether a group's level targets are the products scale * volume alone while every volume stays
// above zero: adding a zero offset changes a product only where it is -0.0, and none is, every
// scale being without a sign.
template <class V> bool Unshifted(const OscillatorBank& bank, const ToneGroup<V>& group) {
    for (int j = 0; j < group.lanes; ++j) {
        const ToneLevel& level = bank.levels[group.first + j];
        if (level.offset != 0.0 || std::signbit(level.scale) || std::isnan(level.scale)) {
            return false;
        }
    }
    return true;
}

// Every group of tones in lanes, as the last chunk left them, with what the chunks' loops need to
// know of them that only a change of the voices can change.
template <class V> struct KeptGroups {
    static constexpr int kGroups = kMaxTones / kWidth<V>;

    ToneGroup<V> group[kGroups];
    EnvelopeLanes<V> freq[kGroups];
    EnvelopeLanes<V> vol[kGroups];
    ToneLanes<V> tones[kGroups];
    bool unshifted[kGroups];
    // Whether the group's volumes stay above zero within the budget.
    bool positive[kGroups];

    void Gather(ToneVoices& voices, int toneCount) {
        for (int g = 0; g * kWidth<V> < toneCount; ++g) {
            group[g] = ToneGroup<V>(voices, g * kWidth<V>, toneCount);
            freq[g] = LoadEnvelopes(group[g].freqSlots);
            vol[g] = LoadEnvelopes(group[g].volSlots);
            tones[g].Load(voices.bank, group[g]);
            unshifted[g] = Unshifted(voices.bank, group[g]);
        }
    }
};

// Writes the kept groups' targets, phases and envelope values into the voices, and leaves every
// idle fade's origin at its tone's last target, the next restart gliding from there.
template <class V> void WriteBack(KeptLanes& record, ToneVoices& voices) {
    KeptGroups<V>& kept = *std::launder(reinterpret_cast<KeptGroups<V>*>(record.lanes));
    for (int g = 0; g * kWidth<V> < record.toneCount; ++g) {
        const ToneGroup<V>& group = kept.group[g];
        const ToneLanes<V>& tones = kept.tones[g];
        tones.Store(voices.bank, group);
        StoreEnvelopes(group.freqSlots, kept.freq[g]);
        StoreEnvelopes(group.volSlots, kept.vol[g]);
        for (int e = 0; e < kEars; ++e) {
            for (int j = 0; j < group.lanes; ++j) {
                if (!group.rateFades[e][j]->active) group.rateFades[e][j]->from = tones.rate[e][j];
                if (!group.levelFades[e][j]->active) group.levelFades[e][j]->from = tones.level[j];
            }
        }
    }
}

// Brings the voices up to date and drops the kept lanes, for a loop that works on the voices.
inline void DropKept(KeptLanes& record, ToneVoices& voices) {
    if (record.ahead) record.writeBack(record, voices);
    record.ahead = false;
    record.valid = false;
}

// The groups kept for this lane width and tone count, gathered from the voices when the record
// holds none.
template <class V> KeptGroups<V>& KeepGroups(KeptLanes& record, ToneVoices& voices, int toneCount) {
    static_assert(sizeof(KeptGroups<V>) <= KeptLanes::kBytes && alignof(KeptGroups<V>) <= 64);
    if (!record.valid || record.toneCount != toneCount || record.width != kWidth<V>) {
        DropKept(record, voices);
        (new (record.lanes) KeptGroups<V>)->Gather(voices, toneCount);
        record.valid = true;
        record.toneCount = toneCount;
        record.width = kWidth<V>;
        record.budget = 0;
    }
    return *std::launder(reinterpret_cast<KeptGroups<V>*>(record.lanes));
}

// Takes a chunk's envelope steps from the budget within which no segment can end, renewing it
// from the kept lanes when it runs short. False, leaving each group to check for itself, when no
// budget covers the chunk; a chunk of the budget's size checks for itself and spends it all.
template <class V> bool SpendBudget(KeptLanes& record, KeptGroups<V>& kept, int groups, int steps) {
    constexpr int kBudget = kEars * kChunk;
    if (steps >= kBudget) {
        record.budget = 0;
        return false;
    }
    if (record.budget < steps) {
        record.budget = kBudget;
        for (int g = 0; g < groups; ++g) {
            const V freqReach = ReachWithin(kept.freq[g], kBudget);
            const V volReach = ReachWithin(kept.vol[g], kBudget);
            if (!NoSegmentEnds(kept.freq[g], kept.group[g].freqSlots, freqReach) ||
                !NoSegmentEnds(kept.vol[g], kept.group[g].volSlots, volReach)) {
                record.budget = 0;
                return false;
            }
            kept.positive[g] = StaysPositive(kept.vol[g], kept.group[g].volSlots, volReach);
        }
    }
    record.budget -= steps;
    return true;
}

// G kept groups from group `first` through one chunk; true when one of them was fading.
template <class V, class Shape, int G>
bool MixGroupsOfChunk(ToneVoices& voices, KeptGroups<V>& kept, int first, bool budgeted,
                      LaneScratch& samples, int frames) {
    const ToneGroup<V>* group = kept.group + first;
    EnvelopeLanes<V> freq[G];
    EnvelopeLanes<V> vol[G];
    bool checked = false;
    bool fading = false;
    bool linearFreq = true;
    bool scaled = true;
    for (int g = 0; g < G; ++g) {
        freq[g].CopyFrom(kept.freq[first + g]);
        vol[g].CopyFrom(kept.vol[first + g]);
        fading = fading || group[g].fading;
        linearFreq = linearFreq && AllLinear(freq[g]);
        if (budgeted) {
            scaled = scaled && kept.unshifted[first + g] && kept.positive[first + g];
            continue;
        }
        const V freqReach = ReachWithin(freq[g], kEars * frames);
        const V volReach = ReachWithin(vol[g], kEars * frames);
        checked = checked || !NoSegmentEnds(freq[g], group[g].freqSlots, freqReach) ||
                  !NoSegmentEnds(vol[g], group[g].volSlots, volReach);
        scaled = scaled && kept.unshifted[first + g] &&
                 StaysPositive(vol[g], group[g].volSlots, volReach);
    }
    auto mix = [&]<bool Fading, bool Checked, bool LinearFreq, bool Scaled>() {
        MixGroups<V, Shape, Fading, Checked, LinearFreq, Scaled, G>(
            voices, group, freq, vol, kept.tones + first, samples, frames);
    };
    // Only the steady chunks, by far the most, get loops of their own for linear frequencies and
    // levels without offsets.
    if (fading) {
        checked ? mix.template operator()<true, true, false, false>()
                : mix.template operator()<true, false, false, false>();
    } else if (checked) {
        mix.template operator()<false, true, false, false>();
    } else if (linearFreq) {
        scaled ? mix.template operator()<false, false, true, true>()
               : mix.template operator()<false, false, true, false>();
    } else {
        scaled ? mix.template operator()<false, false, false, true>()
               : mix.template operator()<false, false, false, false>();
    }
    for (int g = 0; g < G; ++g) {
        kept.freq[first + g].CopyFrom(freq[g]);
        kept.vol[first + g].CopyFrom(vol[g]);
    }
    return fading;
}

// The whole chunk at once: setting a group up costs as much as a few dozen frames, so the groups
// are kept from chunk to chunk.
template <class V, class Shape>
void MixChunk(ToneVoices& voices, LaneScratch& samples, int toneCount, const SumsOut& sums,
              int frames) {
    KeptLanes& record = samples.kept;
    KeptGroups<V>& kept = KeepGroups<V>(record, voices, toneCount);
    const int groups = (toneCount + kWidth<V> - 1) / kWidth<V>;
    const bool budgeted = SpendBudget(record, kept, groups, kEars * frames);
    bool fading = false;
    int first = 0;
    // In pairs where a pair's state fits the registers; SSE2's sixteen of two lanes do not hold
    // it, and spilling costs more than the overlap gains.
    if constexpr (kBlends) {
        for (; first + 1 < groups; first += 2) {
            fading =
                MixGroupsOfChunk<V, Shape, 2>(voices, kept, first, budgeted, samples, frames) ||
                fading;
        }
    }
    for (; first < groups; ++first) {
        fading =
            MixGroupsOfChunk<V, Shape, 1>(voices, kept, first, budgeted, samples, frames) || fading;
    }
    record.ahead = true;
    record.writeBack = &WriteBack<V>;
    // A fade may end within the chunk: the next chunk learns from the voices which still run.
    if (fading) DropKept(record, voices);
    SumInToneOrder<SumLanes<V>>(samples, toneCount, sums, frames);
}

// The frames whose samples a single tone evaluates in one vector, each frame's ears side by side:
// two for the long shapes where a 256-bit operation costs no more than a 128-bit one. Fewer
// operations per frame then crowd the envelope chain; a short shape gains nothing from it, and
// joining and parting the frames costs it more than it saves.
template <class Shape> constexpr int SingleToneFrames() {
#if defined(__AVX__)
    if constexpr (requires { requires Shape::kLong; }) return 2;
#endif
    return 1;
}

template <int Frames> struct FrameLanes {
    typedef double type __attribute__((vector_size(Frames * sizeof(Lanes2))));
};

// The frames' [left, right] pairs side by side, as many as W holds.
template <class W> [[gnu::always_inline]] inline W JoinFrames(const Lanes2* frames) {
    if constexpr (sizeof(W) == 2 * sizeof(Lanes2)) {
        return __builtin_shufflevector(frames[0], frames[1], 0, 1, 2, 3);
    } else {
        return frames[0];
    }
}

// A single tone, ears in two lanes. Its two envelopes sit side by side in two more lanes and step
// together, so one product and one sum over [freq, vol] give an ear's [rate, level]. The tone's
// dependency chain is then two envelope steps per frame, and the envelopes run a few frames
// ahead of the samples: a sample's operations find their inputs ready and do not crowd the
// scheduler in front of the chain. A running fade sends the tone back to the general loop.
template <class Shape, bool Checked>
void MixSingleTone(ToneVoices& voices, const SumsOut& sums, int frames) {
    using V = Lanes2;
    constexpr int kF = SingleToneFrames<Shape>();
    using W = typename FrameLanes<kF>::type;
    constexpr int kAhead = 16;
    static_assert(kAhead % kF == 0);
    const OscillatorBank bank = voices.bank;
    const EnvelopeSlots<V> slots{{&voices.freqEnvelopes[0], &voices.volEnvelopes[0]}};
    EnvelopeLanes<V> env = LoadEnvelopes(slots);
    const ToneLevel& target = bank.levels[0];
    V factor[kEars];
    V term[kEars];
    for (int e = 0; e < kEars; ++e) {
        factor[e] = V{bank.rates[e][0].span, target.scale};
        term[e] = V{bank.rates[e][0].low, target.offset};
    }
    V phase{bank.phase[0][0], bank.phase[1][0]};
    // An ear's [rate, level] from its envelope values; the level is shared, the right ear's kept.
    auto targets = [&](const V* ears, V& rate, V& level) {
        const V left = factor[0] * ears[0] + term[0];
        const V right = factor[1] * ears[1] + term[1];
        rate = __builtin_shufflevector(left, right, 0, 2);
        level = __builtin_shufflevector(left, right, 1, 3);
    };
    // [freq, vol] after each ear's step, for two runs of frames: one sampled, one being stepped.
    V runs[2][kAhead][kEars];
    auto stepInto = [&](V* ears) {
        for (int e = 0; e < kEars; ++e) {
            Step<Checked>(env, slots);
            ears[e] = env.value;
        }
    };
    // Each frame's [p, level], the wave's phase and the level it is scaled by.
    auto advance = [&](const V* ears, V& p, V& level) {
        V rate;
        targets(ears, rate, level);
        p = WrapOnce(phase, bank.period);
        phase = p + rate;
    };
    // The samples of the frames from t: a batch's, or as many of them as the chunk has left. Each
    // ear's sum starts from 0.0, as for any count of tones, and then goes out scaled.
    auto write = [&]<class S>(int t, S sample) {
        sample = Splat<S>(0.0) + sample;
        sample *= sums.gain;
        if constexpr (sizeof(S) == sizeof(V)) {
            if (sums.in != nullptr) sample += V{sums.in[0][t], sums.in[1][t]};
            sums.out[0][t] = sample[0];
            sums.out[1][t] = sample[1];
        } else if (t + kF <= frames) {
            // [left t, left t + 1, right t, right t + 1]
            S byEar = __builtin_shufflevector(sample, sample, 0, 2, 1, 3);
            if (sums.in != nullptr) {
                byEar += __builtin_shufflevector(Load<V>(sums.in[0] + t), Load<V>(sums.in[1] + t),
                                                 0, 1, 2, 3);
            }
            Store(sums.out[0] + t, __builtin_shufflevector(byEar, byEar, 0, 1));
            Store(sums.out[1] + t, __builtin_shufflevector(byEar, byEar, 2, 3));
        } else {
            for (int e = 0; e < kEars; ++e) {
                sums.out[e][t] = sums.in != nullptr ? sample[e] + sums.in[e][t] : sample[e];
            }
        }
    };
    // A shape with halves finishes a batch's samples at the next batch.
    std::conditional_t<HasHalves<Shape>, FoldedArgument<W>, W> held{};
    W heldLevel{};
    auto sample = [&](int t, const V* p, const V* level) {
        if constexpr (HasHalves<Shape>) {
            if (t > 0) write(t - kF, Shape::OfArgument(bank, held) * heldLevel);
            held = Shape::Argument(bank, JoinFrames<W>(p));
            heldLevel = JoinFrames<W>(level);
        } else {
            write(t, Shape::At(bank, JoinFrames<W>(p)) * JoinFrames<W>(level));
        }
    };
    int count = frames < kAhead ? frames : kAhead;
    for (int i = 0; i < count; ++i) stepInto(runs[0][i]);
    const V* last = nullptr;
    for (int start = 0, run = 0; count > 0; run ^= 1) {
        const int left = frames - start - count;
        const int next = left < kAhead ? left : kAhead;
        // The next run is never longer than this one.
        int i = 0;
        for (; i + kF <= next; i += kF) {
            V p[kF];
            V level[kF];
            for (int f = 0; f < kF; ++f) {
                stepInto(runs[run ^ 1][i + f]);
                advance(runs[run][i + f], p[f], level[f]);
            }
            sample(start + i, p, level);
        }
        // Where the chunk ends inside a batch, the batch's missing frames take phase 0 and level
        // 0, and nothing of them is written.
        for (; i < count; i += kF) {
            V p[kF] = {};
            V level[kF] = {};
            for (int f = 0; f < kF && i + f < count; ++f) {
                if (i + f < next) stepInto(runs[run ^ 1][i + f]);
                advance(runs[run][i + f], p[f], level[f]);
            }
            sample(start + i, p, level);
        }
        last = runs[run][count - 1];
        start += count;
        count = next;
    }
    StoreEnvelopes(slots, env);
    if (last == nullptr) return;
    if constexpr (HasHalves<Shape>) {
        write((frames - 1) / kF * kF, Shape::OfArgument(bank, held) * heldLevel);
    }
    V rate;
    V level;
    targets(last, rate, level);
    for (int e = 0; e < kEars; ++e) {
        voices.bank.rates[e][0].value = rate[e];
        voices.bank.phase[e][0] = phase[e];
    }
    voices.bank.levels[0].value = level[1];
}

template <class Shape> bool MixSingle(ToneVoices& voices, const SumsOut& sums, int frames) {
    for (int e = 0; e < kEars; ++e) {
        if (voices.rateFades[e][0].active || voices.levelFades[e][0].active) return false;
    }
    const EnvelopeSlots<Lanes2> slots{{&voices.freqEnvelopes[0], &voices.volEnvelopes[0]}};
    const EnvelopeLanes<Lanes2> env = LoadEnvelopes(slots);
    if (NoSegmentEnds(env, slots, ReachWithin(env, kEars * frames))) {
        MixSingleTone<Shape, false>(voices, sums, frames);
    } else {
        MixSingleTone<Shape, true>(voices, sums, frames);
    }
    for (int e = 0; e < kEars; ++e) {
        voices.rateFades[e][0].from = voices.bank.rates[e][0].value;
        voices.levelFades[e][0].from = voices.bank.levels[0].value;
    }
    return true;
}

// The pass of a steady gain over a chunk's sums of one ear: out = sum * gain, plus the input
// where the instrument mixes it in. The input may be the output buffer itself.
template <class V>
void ScaleLanes(const double* sum, const double* in, double* out, int frames, double gain) {
    constexpr int kW = kWidth<V>;
    const V g = Splat<V>(gain);
    int t = 0;
    if (in != nullptr) {
        for (; t + kW <= frames; t += kW) Store(out + t, Load<V>(sum + t) * g + Load<V>(in + t));
        for (; t < frames; ++t) out[t] = sum[t] * gain + in[t];
    } else {
        for (; t + kW <= frames; t += kW) Store(out + t, Load<V>(sum + t) * g);
        for (; t < frames; ++t) out[t] = sum[t] * gain;
    }
}

template <class V>
bool MixLanes(ToneVoices& voices, LaneScratch& samples, int toneCount, const SumsOut& sums,
              int frames) {
    // A few tones take narrower lanes rather than fill a wide vector with idle ones.
    if constexpr (kWidth < V >> 2) {
        using Half = typename HalfLanes<V>::type;
        if (toneCount <= kWidth<Half>) {
            return MixLanes<Half>(voices, samples, toneCount, sums, frames);
        }
    }
    bool mixed = false;
    WithLaneShape(voices.bank, [&]<class Shape>(Shape) {
        if (toneCount == 1) {
            DropKept(samples.kept, voices);
            mixed = MixSingle<Shape>(voices, sums, frames);
            return;
        }
        MixChunk<V, Shape>(voices, samples, toneCount, sums, frames);
        mixed = true;
    });
    return mixed;
}

} // namespace
