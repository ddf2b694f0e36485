#include "engine/ToneEngine.h"

#include "engine/DenormalGuard.h"
#include "engine/LaneKernels.h"

#include "engine/WaveShapes.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double kSilence = 1e-11;
constexpr double kRampThreshold = 1e-11;

void Glide(Crossfade& fade, double& value) {
    if (!fade.active) return;
    fade.progress += fade.step;
    value = (value - fade.from) * fade.progress + fade.from;
    fade.current = value;
    if (!(fade.progress < 1.0)) fade.active = false;
}

// A tone envelope's position with its current segment's terms, small enough to live in
// registers. Linear segments have multiplier 1, so the curved form gives the linear step's
// result exactly.
struct EnvelopeCursor {
    SegmentEnvelope* env = nullptr;
    double value = 0.0;
    int segment = 0;
    double multiplier = 1.0;
    double increment = 0.0;
    double end = 0.0;
    bool rising = true;

    void Store() const {
        env->value = value;
        env->segment = segment;
    }
};

EnvelopeCursor AtSegment(SegmentEnvelope& env, int segment, double value) {
    return {&env,
            value,
            segment,
            env.multipliers[segment],
            env.increments[segment],
            env.endLevels[segment],
            env.rising[segment] != 0};
}

// Taken once per segment, so it stays out of line and out of the way of the sample loop.
[[gnu::noinline]] EnvelopeCursor NextSegment(SegmentEnvelope* env, int segment, double end) {
    const int next = segment + 1 == env->count ? 0 : segment + 1;
    return AtSegment(*env, next, next == 0 ? env->start : end);
}

[[gnu::always_inline]] inline void Step(EnvelopeCursor& cursor) {
    cursor.value = cursor.multiplier * cursor.value + cursor.increment;
    if (cursor.rising ? cursor.value >= cursor.end : cursor.value <= cursor.end) {
        cursor = NextSegment(cursor.env, cursor.segment, cursor.end);
    }
}

// One tone's rendering state, copied into locals for a chunk. The per-ear values sit side by
// side in Lanes2, left ear first, so both ears share the wave evaluation.
struct ToneState {
    EnvelopeCursor freq;
    EnvelopeCursor vol;
    double scale = 0.0;
    double offset = 0.0;
    double level = 0.0;
    Lanes2 span{};
    Lanes2 low{};
    Lanes2 rate{};
    Lanes2 phase{};

    void Load(ToneVoices& voices, int tone) {
        SegmentEnvelope& f = voices.freqEnvelopes[tone];
        SegmentEnvelope& v = voices.volEnvelopes[tone];
        freq = AtSegment(f, f.segment, f.value);
        vol = AtSegment(v, v.segment, v.value);
        const OscillatorBank& bank = voices.bank;
        const ToneLevel& target = bank.levels[tone];
        scale = target.scale;
        offset = target.offset;
        level = target.value;
        const ToneIncrement& left = bank.rates[0][tone];
        const ToneIncrement& right = bank.rates[1][tone];
        span = Lanes2{left.span, right.span};
        low = Lanes2{left.low, right.low};
        rate = Lanes2{left.value, right.value};
        phase = Lanes2{bank.phase[0][tone], bank.phase[1][tone]};
    }

    void Store(ToneVoices& voices, int tone) const {
        freq.Store();
        vol.Store();
        OscillatorBank& bank = voices.bank;
        bank.levels[tone].value = level;
        for (int e = 0; e < kEars; ++e) {
            bank.rates[e][tone].value = rate[e];
            bank.phase[e][tone] = phase[e];
        }
    }
};

// The four crossfades of one tone, only carried while one of them runs.
struct ToneFades {
    Crossfade rate[kEars];
    Crossfade level[kEars];

    void Load(const ToneVoices& voices, int tone) {
        for (int e = 0; e < kEars; ++e) {
            rate[e] = voices.rateFades[e][tone];
            level[e] = voices.levelFades[e][tone];
        }
    }

    void Store(ToneVoices& voices, int tone) const {
        for (int e = 0; e < kEars; ++e) {
            voices.rateFades[e][tone] = rate[e];
            voices.levelFades[e][tone] = level[e];
        }
    }

    void Apply(Lanes2& rates, Lanes2& levels) {
        for (int e = 0; e < kEars; ++e) {
            double r = rates[e];
            double l = levels[e];
            Glide(rate[e], r);
            Glide(level[e], l);
            rates[e] = r;
            levels[e] = l;
        }
    }
};

bool Fading(const ToneVoices& voices, int tone) {
    for (int e = 0; e < kEars; ++e) {
        if (voices.rateFades[e][tone].active || voices.levelFades[e][tone].active) return true;
    }
    return false;
}

// The shape evaluated through the bank's function pointer, one ear after the other.
struct InstalledShape {
    static Lanes2 At(const OscillatorBank& bank, Lanes2 p) {
        return Lanes2{bank.waveFunction(bank, p[0]), bank.waveFunction(bank, p[1])};
    }
};

// One tone's per-ear rate and level for the next frame: each envelope is stepped once per ear,
// left first, so the right ear sees the value one step later.
struct EarTargets {
    Lanes2 rate;
    Lanes2 level;
};

[[gnu::always_inline]] inline EarTargets StepEars(ToneState& tone) {
    Step(tone.freq);
    const double freq0 = tone.freq.value;
    Step(tone.vol);
    const double vol0 = tone.vol.value;
    Step(tone.freq);
    Step(tone.vol);
    return {tone.span * Lanes2{freq0, tone.freq.value} + tone.low,
            tone.scale * Lanes2{vol0, tone.vol.value} + tone.offset};
}

// Steps of a period or more (tones above the sample rate) leave more than one period to take
// off, or a phase below 0 after a fade's overshoot at very low rates.
[[gnu::always_inline]] inline Lanes2 WrapFully(Lanes2 p, double period) {
    for (int e = 0; e < kEars; ++e) {
        if (!(p[e] >= 0.0 && p[e] < period)) p[e] = WrapPhase(p[e], period);
    }
    return p;
}

// One frame of one tone for both ears: rates and levels glide per ear, then both phases are
// wrapped, sampled and advanced together. One subtraction wraps a phase advanced by less than a
// period; Wide blocks may advance it by more.
template <bool Fading, class Shape, bool Wide = false>
[[gnu::always_inline]] inline Lanes2 Sample(ToneState& tone, ToneFades& fades,
                                            const OscillatorBank& bank) {
    auto [rate, level] = StepEars(tone);
    if constexpr (Fading) fades.Apply(rate, level);
    Lanes2 p = tone.phase - Masked(tone.phase >= bank.period, Splat<Lanes2>(bank.period));
    if constexpr (Wide) p = WrapFully(p, bank.period);
    const Lanes2 s = Shape::At(bank, p) * level;
    tone.phase = p + rate;
    tone.rate = rate;
    tone.level = level[1];
    return s;
}

// Fades never start inside a block, so tones without one skip the glide code.
// A local copy of the bank lets the compiler keep the wave constants in registers: the mix
// stores cannot alias it. Kept out of line: inlined into the chunk beside its wide variants, the
// loop came out about 8 % slower.
template <bool Fading, class Shape, bool Wide = false>
[[gnu::noinline]] void MixOne(ToneVoices& voices, int i, double* const* mix, int frames) {
    const OscillatorBank bank = voices.bank;
    ToneState tone;
    ToneFades fades;
    tone.Load(voices, i);
    if constexpr (Fading) fades.Load(voices, i);
    for (int t = 0; t < frames; ++t) {
        const Lanes2 s = Sample<Fading, Shape, Wide>(tone, fades, bank);
        mix[0][t] += s[0];
        mix[1][t] += s[1];
    }
    tone.Store(voices, i);
    if constexpr (Fading) fades.Store(voices, i);
}

// The general loop, one tone at a time: for blocks whose steps may cross a period, and for a
// wave function that the lane kernels do not know.
template <class Shape>
void MixTones(ToneVoices& voices, int toneCount, bool wide, double* const* mix, int frames) {
    for (int i = 0; i < toneCount; ++i) {
        const bool fading = Fading(voices, i);
        if (wide) {
            fading ? MixOne<true, Shape, true>(voices, i, mix, frames)
                   : MixOne<false, Shape, true>(voices, i, mix, frames);
        } else {
            fading ? MixOne<true, Shape>(voices, i, mix, frames)
                   : MixOne<false, Shape>(voices, i, mix, frames);
        }
    }
}

// The known shapes are inlined into the loop; any other function is called through the pointer.
void MixOneByOne(ToneVoices& voices, int toneCount, bool wide, double* const* mix, int frames) {
    const WaveFunction wave = voices.bank.waveFunction;
    auto mixWith = [&]<class Shape>(Shape) {
        MixTones<Shape>(voices, toneCount, wide, mix, frames);
    };
    if (wave == &SineWave) return mixWith(SineShape{});
    if (wave == &TriangleWave) return mixWith(TriangleShape{});
    if (wave == &SawWave) return mixWith(SawShape{});
    if (wave == &GoldenSineWave) return mixWith(GoldenSineShape{});
    if (wave == &GoldenHalfSineWave) return mixWith(GoldenHalfSineShape{});
    if (wave == &GoldenTriangleWave) return mixWith(GoldenTriangleShape{});
    if (wave == &GoldenSquareWave) return mixWith(GoldenSquareShape{});
    mixWith(InstalledShape{});
}

// The lane kernels of one instruction set.
struct PathKernels {
    decltype(&MixLanesPlain) mix;
    decltype(&ScaleSumsPlain) scale;
};

const PathKernels& KernelsOf([[maybe_unused]] RenderPath path) {
    static constexpr PathKernels plain{&MixLanesPlain, &ScaleSumsPlain};
#ifdef SERIVANE_SIMD_PATHS
    static constexpr PathKernels avx2{&MixLanesAvx2, &ScaleSumsAvx2};
    static constexpr PathKernels avx512{&MixLanesAvx512, &ScaleSumsAvx512};
    if (path == RenderPath::Avx512) return avx512;
    if (path == RenderPath::Avx2) return avx2;
#endif
    return plain;
}

// True when every rate the block can produce lies in [0, period) and every phase below two
// periods, so that one subtraction per frame keeps the phases in [0, period). A rate runs between
// its tone's low and high increment and, while a fade runs, its starting value, overshot at the
// fade's end by less than one fade step; the margins take twice that and some rounding.
bool StepsBelowOnePeriod(const ToneVoices& voices, int toneCount) {
    const double period = voices.bank.period;
    const double limit = period * (1.0 - 1e-9);
    for (int e = 0; e < kEars; ++e) {
        for (int i = 0; i < toneCount; ++i) {
            const ToneIncrement& rate = voices.bank.rates[e][i];
            const Crossfade& fade = voices.rateFades[e][i];
            double lo = std::min(rate.low, rate.high);
            double hi = std::max(rate.low, rate.high);
            double overshoot = 0.0;
            if (fade.active) {
                lo = std::min(lo, fade.from);
                hi = std::max(hi, fade.from);
                overshoot = 2.0 * (hi - lo) * fade.step;
            }
            const double phase = voices.bank.phase[e][i];
            if (!(lo - overshoot >= 0.0 && hi + overshoot < limit && phase >= 0.0 &&
                  phase < 2.0 * period)) {
                return false;
            }
        }
    }
    return true;
}

// Phases, envelopes and fades stand still while silent.
void WriteSilence(bool mixInput, const double* const* inputs, double* const* outputs,
                  int32_t frames) {
    for (int e = 0; e < kEars; ++e) {
        if (!mixInput) {
            std::fill(outputs[e], outputs[e] + frames, 0.0);
        } else if (outputs[e] != inputs[e]) {
            std::copy(inputs[e], inputs[e] + frames, outputs[e]);
        }
    }
}

// The frame-by-frame loop adds the step to the gain before every frame. A steady gain adds 0.0,
// which leaves any gain but -0.0 as it is, so the step can be left out.
bool SteadyGain(double gain, double step) {
    return step == 0.0 && !std::signbit(gain);
}

// An idle fade remembers where its target ended, so the next restart glides from there. For the
// lane kernels' tones, writing their kept lanes back leaves the origins.
void StoreFadeOrigins(ToneVoices& voices, int toneCount) {
    for (int e = 0; e < kEars; ++e) {
        for (int i = 0; i < toneCount; ++i) {
            Crossfade& rate = voices.rateFades[e][i];
            Crossfade& level = voices.levelFades[e][i];
            if (!rate.active) rate.from = voices.bank.rates[e][i].value;
            if (!level.active) level.from = voices.bank.levels[i].value;
        }
    }
}

} // namespace

// Tones are mixed into a scratch sum per ear, then scaled by the gain ramp. A steady gain the
// lane kernels apply themselves, writing the scaled sums straight to the output.
void ToneEngine::RenderChunk(const double* const* inputs, double* const* outputs, int32_t offset,
                             int frames, double gainStep, bool wide) {
    alignas(64) double left[kChunk];
    alignas(64) double right[kChunk];
    double* const mix[kEars] = {left, right};
    if (!wide) {
        const bool steady = SteadyGain(currentGain_, gainStep);
        double* const out[kEars] = {outputs[0] + offset, outputs[1] + offset};
        const double* const in[kEars] = {mixInput_ ? inputs[0] + offset : nullptr,
                                         mixInput_ ? inputs[1] + offset : nullptr};
        const SumsOut sums = steady ? SumsOut{out, mixInput_ ? in : nullptr, currentGain_}
                                    : SumsOut{mix, nullptr, 1.0};
        if (KernelsOf(path_).mix(voices_, *laneScratch_, settings_.toneCount, sums, frames)) {
            if (!steady) ApplyGain(mix, inputs, outputs, offset, frames, gainStep);
            return;
        }
    }
    // This loop works on the voices themselves.
    CatchUpVoices();
    laneScratch_->kept.valid = false;
    std::fill(left, left + frames, 0.0);
    std::fill(right, right + frames, 0.0);
    MixOneByOne(voices_, settings_.toneCount, wide, mix, frames);
    StoreFadeOrigins(voices_, settings_.toneCount);
    ApplyGain(mix, inputs, outputs, offset, frames, gainStep);
}

// A steady gain's loop drops the add and vectorises. The scaled sum goes straight to the output,
// added to the input where the instrument mixes it in.
void ToneEngine::ApplyGain(double* const* mix, const double* const* inputs, double* const* outputs,
                           int32_t offset, int frames, double gainStep) {
    const bool steady = SteadyGain(currentGain_, gainStep);
    double gain = currentGain_;
    for (int e = 0; e < kEars; ++e) {
        double* sum = mix[e];
        if (!steady) {
            gain = currentGain_;
            for (int t = 0; t < frames; ++t) {
                gain += gainStep;
                sum[t] *= gain;
            }
        }
        // The input may be the output buffer itself.
        double* out = outputs[e] + offset;
        const double* in = mixInput_ ? inputs[e] + offset : nullptr;
        if (steady) {
            KernelsOf(path_).scale(sum, in, out, frames, gain);
        } else if (in != nullptr) {
            for (int t = 0; t < frames; ++t) out[t] = sum[t] + in[t];
        } else {
            std::copy(sum, sum + frames, out);
        }
    }
    currentGain_ = gain;
}

void ToneEngine::Render(const double* const* inputs, double* const* outputs, int32_t frames,
                        bool transportRunning, int32_t hostSamplePosition) {
    const DenormalGuard flushDenormals;
    MarkBlockSeen(frames);
    // Read before it is taken: taking it costs a locked instruction in every block.
    if (stallDetected_.load(std::memory_order_relaxed) && stallDetected_.exchange(false)) {
        FadeInAtNextBlock();
    }
    const double target = settings_.playAnyway || transportRunning ? targetGain_ : 0.0;
    if (restartRequested_) {
        restartRequested_ = false;
        ReseekTones(Reseek::FromHostPosition, hostSamplePosition);
        RestartFades(true, true);
    }
    if (target == 0.0 && currentGain_ < kSilence) {
        WriteSilence(mixInput_, inputs, outputs, frames);
        return;
    }
    const double distance = target - currentGain_;
    const double gainStep =
        std::fabs(distance) > kRampThreshold && frames > 0 ? distance / frames : 0.0;
    if (!stepsBelowPeriod_) CatchUpVoices();
    const bool wide = !stepsBelowPeriod_ && !StepsBelowOnePeriod(voices_, settings_.toneCount);
    for (int32_t offset = 0; offset < frames; offset += kChunk) {
        RenderChunk(inputs, outputs, offset, std::min<int32_t>(kChunk, frames - offset), gainStep,
                    wide);
    }
    // The chunks leave the fades' origins; a block of none leaves them as one would.
    if (frames == 0) {
        CatchUpVoices();
        StoreFadeOrigins(voices_, settings_.toneCount);
    }
    stepsBelowPeriod_ = !wide;
}
