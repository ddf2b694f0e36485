#include "engine/ParamActions.h"

#include "engine/ToneEngine.h"

#include <cmath>

namespace {

double KeyScale(int index) {
    switch (index) {
    case 0:
        return 100.0;
    case 1:
    case 2:
    case 9:
    case 19:
    case 20:
    case 21:
        return 10.0;
    default:
        return 1.0;
    }
}

} // namespace

int32_t ParamKey(int index, double value) {
    const double x = value * KeyScale(index);
    if (std::isnan(x)) return 0;
    if (x >= 2147483647.0) return INT32_MAX;
    if (x <= -2147483648.0) return INT32_MIN;
    return static_cast<int32_t>(x < 0.0 ? x - 0.5 : x + 0.5);
}

bool ParamKeyFilter::Changed(int index, int32_t key) {
    if (index < 0 || index >= kParamCount || lastKeys[index] == key) return false;
    lastKeys[index] = key;
    return true;
}

void ParamKeyFilter::Forget(int index) {
    if (index >= 0 && index < kParamCount) lastKeys[index] = -1;
}

void ToneEngine::ApplyParamKey(int index, int32_t q) {
    switch (index) {
    case 0:
        binauralHz = static_cast<float>(q * 0.01);
        ComputeToneIncrements();
        break;
    case 1:
        lowHz = static_cast<float>(q * 0.1);
        ComputeToneIncrements();
        break;
    case 2:
        highHz = static_cast<float>(q * 0.1);
        ComputeToneIncrements();
        break;
    case 3:
        ApplyToneCount(q);
        break;
    case 4:
        spread = static_cast<float>(q * 0.01);
        ComputeToneIncrements();
        break;
    case 5:
        lowLevel = static_cast<float>(q * 0.01);
        ComputeToneLevels();
        break;
    case 6:
        middleLevel = static_cast<float>(q * 0.01);
        ComputeToneLevels();
        break;
    case 7:
        highLevel = static_cast<float>(q * 0.01);
        ComputeToneLevels();
        break;
    case 8:
        SetWave(bank, 8, q);
        break;
    case 9:
        ApplyRate(q);
        break;
    case 10:
        panMode = static_cast<int16_t>(q);
        ComputeToneIncrements();
        break;
    case 11:
        ApplyPlayAnyway(q);
        break;
    case 12:
        volumeLevel = static_cast<float>(q * 0.008 + 0.0001);
        UpdateTargetGain();
        break;
    default:
        break;
    }
}

// Slots below tonesSetUp keep their envelopes and glide to their new places; new slots are
// prepared afresh and fade in from silence. The count is kept within the 16 slots.
void ToneEngine::ApplyToneCount(int q) {
    const int count = q < 1 ? 1 : (q > kMaxTones ? kMaxTones : q);
    toneCount = count;
    UpdateTargetGain();
    if (!initialised) return;
    for (int i = tonesSetUp; i < count; ++i) {
        freqEnvelopes[i].Prepare(envelopeLength);
        volEnvelopes[i].Prepare(envelopeLength);
        ResetToneFades(i);
    }
    if (count != tonesSetUp) {
        ComputeToneIncrements();
        ReseekTones(1, 0);
        RestartFades(true, true);
    }
    tonesSetUp = count;
}

// Two envelope steps per sample, so one pass lasts "Rate" seconds.
void ToneEngine::ApplyRate(int q) {
    if (!initialised) return;
    envelopeLength = static_cast<float>(q * 0.1 * engineSampleRate * 2.0);
    for (int i = 0; i < kMaxTones; ++i) {
        freqEnvelopes[i].Prepare(envelopeLength);
        volEnvelopes[i].Prepare(envelopeLength);
    }
}

void ToneEngine::ApplyPlayAnyway(int q) {
    const bool was = playAnyway;
    playAnyway = q > 0.5;
    if (playAnyway && !was) restartRequested = true;
}

// Until "Tones" is applied there are no tones to share the level.
void ToneEngine::UpdateTargetGain() {
    targetGain = toneCount > 0 ? volumeLevel / std::sqrt(static_cast<float>(toneCount)) : 0.0;
}
