#include "engine/ToneEngine.h"

void ToneEngine::ResetToneFades(int tone) {
    if (tone >= 0 && tone < kMaxTones) ResetFadesOf(tone, tone + 1);
}

void ToneEngine::ResetToneFades(ToneSelection) {
    ResetFadesOf(0, settings_.toneCount);
}

void ToneEngine::ResetFadesOf(int first, int last) {
    VoicesChanged();
    for (int e = 0; e < kEars; ++e) {
        for (int i = first; i < last; ++i) {
            voices_.rateFades[e][i].active = false;
            voices_.levelFades[e][i].active = false;
            voices_.levelFades[e][i].from = 0.0;
        }
    }
}

// A running fade continues from where it is; an idle one starts from the value stored at the
// end of the last block, and one restarted again before it ran keeps its starting value (its
// `current` is stale then). A tone that has never sounded has no pitch to glide from (its stored
// increment is still 0, no audible frequency gives that), so it starts at its own pitch instead
// of sweeping up from 0 Hz.
void ToneEngine::RestartFades(bool freq, bool level) {
    VoicesChanged();
    auto restart = [](Crossfade& fade) {
        if (fade.active && fade.progress > 0.0) fade.from = fade.current;
        fade.progress = 0.0;
        fade.active = true;
    };
    for (int e = 0; e < kEars; ++e) {
        for (int i = 0; i < settings_.toneCount; ++i) {
            if (freq) {
                Crossfade& fade = voices_.rateFades[e][i];
                const ToneIncrement& rate = voices_.bank.rates[e][i];
                if (!fade.active && fade.from == 0.0)
                    fade.from = rate.span * voices_.freqEnvelopes[i].value + rate.low;
                restart(fade);
            }
            if (level) restart(voices_.levelFades[e][i]);
        }
    }
}

void ToneEngine::SetFadeSteps(double sampleRate) {
    if (!(sampleRate > 0.0)) return;
    const double step = 1.0 / (0.5 * sampleRate);
    for (int e = 0; e < kEars; ++e) {
        for (int i = 0; i < kMaxTones; ++i) {
            voices_.rateFades[e][i].step = step;
            voices_.levelFades[e][i].step = step;
        }
    }
}
