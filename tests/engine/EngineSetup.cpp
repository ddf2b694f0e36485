#include "EngineSetup.h"

#include "engine/ParamActions.h"

#include <cmath>

EngineValues DefaultValues() {
    return {11, 10, 1500, 7, 25, 50, 50, 50, 0, 60, 2, 0, 50};
}

void StartEngine(ToneEngine& engine, const EngineValues& values) {
    for (int i = 0; i < 13; ++i) engine.ApplyParamKey(i, ParamKey(i, values[i]));
    engine.initialised = true;
    engine.engineSampleRate = kSampleRate;
    for (int i : {1, 0, 9}) engine.ApplyParamKey(i, ParamKey(i, values[i]));
    engine.SetFadeSteps(kSampleRate);
    engine.ResetToneFades(-1);
    engine.restartRequested = true;
}

StereoBlock::StereoBlock(int frames, double fill)
    : left(frames, fill), right(frames, fill), channels{left.data(), right.data()} {}

namespace {

void Glide(Crossfade& fade, double& value) {
    if (!fade.active) return;
    fade.progress += fade.step;
    value = (value - fade.from) * fade.progress + fade.from;
    fade.current = value;
    if (!(fade.progress < 1.0)) fade.active = false;
}

} // namespace

void ReferenceRender(ToneEngine& engine, const double* const* inputs, double* const* outputs,
                     int frames, bool transportRunning, int32_t hostSamplePosition) {
    OscillatorBank& bank = engine.bank;
    const double target = engine.playAnyway || transportRunning ? engine.targetGain : 0.0;
    if (engine.restartRequested) {
        engine.restartRequested = false;
        engine.ReseekTones(0, hostSamplePosition);
        engine.RestartFades(true, true);
    }
    if (target == 0.0 && engine.currentGain < 1e-11) {
        for (int e = 0; e < 2; ++e) {
            for (int t = 0; t < frames; ++t) outputs[e][t] = engine.mixInput ? inputs[e][t] : 0.0;
        }
        return;
    }
    const double distance = target - engine.currentGain;
    const double step = std::fabs(distance) > 1e-11 && frames > 0 ? distance / frames : 0.0;
    for (int t = 0; t < frames; ++t) {
        engine.currentGain += step;
        for (int e = 0; e < 2; ++e) {
            double sum = 0.0;
            for (int i = 0; i < engine.toneCount; ++i) {
                ToneIncrement& rate = bank.rates[e][i];
                ToneLevel& level = bank.levels[i];
                engine.freqEnvelopes[i].Step();
                rate.value = rate.span * engine.freqEnvelopes[i].value + rate.low;
                Glide(engine.rateFades[e][i], rate.value);
                engine.volEnvelopes[i].Step();
                level.value = level.scale * engine.volEnvelopes[i].value + level.offset;
                Glide(engine.levelFades[e][i], level.value);
                double p = bank.phase[e][i];
                if (p >= bank.period) p -= bank.period;
                sum += bank.waveFunction(bank, p) * level.value;
                bank.phase[e][i] = p + rate.value;
            }
            const double out = sum * engine.currentGain;
            outputs[e][t] = engine.mixInput ? out + inputs[e][t] : out;
        }
    }
    for (int e = 0; e < 2; ++e) {
        for (int i = 0; i < engine.toneCount; ++i) {
            if (!engine.rateFades[e][i].active)
                engine.rateFades[e][i].from = bank.rates[e][i].value;
            if (!engine.levelFades[e][i].active)
                engine.levelFades[e][i].from = bank.levels[i].value;
        }
    }
}
