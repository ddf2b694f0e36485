#include "engine/ToneEngine.h"

void ToneEngine::ResetToneFades(int tone) {
    const int first = tone == -1 ? 0 : tone;
    const int last = tone == -1 ? toneCount : tone + 1;
    if (first < 0 || last > kMaxTones) return;
    for (int e = 0; e < kEars; ++e) {
        for (int i = first; i < last; ++i) {
            rateFades[e][i].active = false;
            levelFades[e][i].active = false;
            levelFades[e][i].from = 0.0;
        }
    }
}

// A running fade continues from where it is; an idle one starts from the value stored at the
// end of the last block, and one restarted again before it ran keeps its starting value (its
// `current` is stale then). A tone that has never sounded has no pitch to glide from (its stored
// increment is still 0, no audible frequency gives that), so it starts at its own pitch instead
// of sweeping up from 0 Hz.
void ToneEngine::RestartFades(bool freq, bool level) {
    auto restart = [](Crossfade& fade) {
        if (fade.active && fade.progress > 0.0) fade.from = fade.current;
        fade.progress = 0.0;
        fade.active = true;
    };
    for (int e = 0; e < kEars; ++e) {
        for (int i = 0; i < toneCount; ++i) {
            if (freq) {
                Crossfade& fade = rateFades[e][i];
                const ToneIncrement& rate = bank.rates[e][i];
                if (!fade.active && fade.from == 0.0)
                    fade.from = rate.span * freqEnvelopes[i].value + rate.low;
                restart(fade);
            }
            if (level) restart(levelFades[e][i]);
        }
    }
}

void ToneEngine::SetFadeSteps(double sampleRate) {
    if (!(sampleRate > 0.0)) return;
    const double step = 1.0 / (0.5 * sampleRate);
    for (int e = 0; e < kEars; ++e) {
        for (int i = 0; i < kMaxTones; ++i) {
            rateFades[e][i].step = step;
            levelFades[e][i].step = step;
        }
    }
}
