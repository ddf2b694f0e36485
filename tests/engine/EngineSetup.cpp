#include "EngineSetup.h"

#include "engine/ParamActions.h"

#include <cmath>

EngineValues DefaultValues() {
    return {11, 10, 1500, 7, 25, 50, 50, 50, 0, 60, 2, 0, 50};
}

void StartEngine(ToneEngine& engine, const EngineValues& values, double sampleRate) {
    for (int i = 0; i < 13; ++i) engine.ApplyParamKey(i, ParamKey(i, values[i]));
    engine.Initialise();
    engine.SetSampleRate(sampleRate);
    for (int i : {1, 0, 9}) engine.ApplyParamKey(i, ParamKey(i, values[i]));
    engine.FadeInAtNextBlock();
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
    ToneVoices& voices = ToneEngineTestAccess::Voices(engine);
    double& gain = ToneEngineTestAccess::CurrentGain(engine);
    bool& restart = ToneEngineTestAccess::RestartRequested(engine);
    OscillatorBank& bank = voices.bank;
    const int tones = engine.Settings().toneCount;
    const bool mixInput = engine.MixInput();
    const double target =
        engine.Settings().playAnyway || transportRunning ? engine.TargetGain() : 0.0;
    if (restart) {
        restart = false;
        engine.ReseekTones(Reseek::FromHostPosition, hostSamplePosition);
        engine.RestartFades(true, true);
    }
    if (target == 0.0 && gain < 1e-11) {
        for (int e = 0; e < 2; ++e) {
            for (int t = 0; t < frames; ++t) outputs[e][t] = mixInput ? inputs[e][t] : 0.0;
        }
        return;
    }
    const double distance = target - gain;
    const double step = std::fabs(distance) > 1e-11 && frames > 0 ? distance / frames : 0.0;
    for (int t = 0; t < frames; ++t) {
        gain += step;
        for (int e = 0; e < 2; ++e) {
            double sum = 0.0;
            for (int i = 0; i < tones; ++i) {
                ToneIncrement& rate = bank.rates[e][i];
                ToneLevel& level = bank.levels[i];
                voices.freqEnvelopes[i].Step();
                rate.value = rate.span * voices.freqEnvelopes[i].value + rate.low;
                Glide(voices.rateFades[e][i], rate.value);
                voices.volEnvelopes[i].Step();
                level.value = level.scale * voices.volEnvelopes[i].value + level.offset;
                Glide(voices.levelFades[e][i], level.value);
                double p = bank.phase[e][i];
                if (p >= bank.period) p -= bank.period;
                // Steps of a period or more: whatever is left above the period, or below 0.
                if (p < 0.0 || p >= bank.period) {
                    p = std::fmod(p, bank.period);
                    if (p < 0.0) p += bank.period;
                    if (p >= bank.period) p = 0.0;
                }
                sum += bank.waveFunction(bank, p) * level.value;
                bank.phase[e][i] = p + rate.value;
            }
            const double out = sum * gain;
            outputs[e][t] = mixInput ? out + inputs[e][t] : out;
        }
    }
    for (int e = 0; e < 2; ++e) {
        for (int i = 0; i < tones; ++i) {
            if (!voices.rateFades[e][i].active)
                voices.rateFades[e][i].from = bank.rates[e][i].value;
            if (!voices.levelFades[e][i].active)
                voices.levelFades[e][i].from = bank.levels[i].value;
        }
    }
}
