#include "engine/ParamActions.h"

#include "engine/ToneEngine.h"

#include <cmath>

namespace {

double KeyScale(int index) {
    switch (index) {
    case kBinaural:
        return 100.0;
    case kLowFreq:
    case kHighFreq:
    case kRate:
    case kXvol1:
    case kXvol2:
    case kXvol3:
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
    if (index < 0 || index >= kNumParams || lastKeys[index] == key) return false;
    lastKeys[index] = key;
    return true;
}

void ParamKeyFilter::Forget(int index) {
    if (index >= 0 && index < kNumParams) lastKeys[index] = -1;
}

void ToneEngine::ApplyParamKey(int index, int32_t q) {
    VoicesChanged();
    ToneSettings& s = settings_;
    switch (index) {
    case kBinaural:
        s.binauralHz = static_cast<float>(q * 0.01);
        ComputeToneIncrements();
        break;
    case kLowFreq:
        s.lowHz = static_cast<float>(q * 0.1);
        ComputeToneIncrements();
        break;
    case kHighFreq:
        s.highHz = static_cast<float>(q * 0.1);
        ComputeToneIncrements();
        break;
    case kTones:
        ApplyToneCount(q);
        break;
    case kSpread:
        s.spread = static_cast<float>(q * 0.01);
        ComputeToneIncrements();
        break;
    case kLowLevel:
        s.lowLevel = static_cast<float>(q * 0.01);
        ComputeToneLevels();
        break;
    case kMiddleLevel:
        s.middleLevel = static_cast<float>(q * 0.01);
        ComputeToneLevels();
        break;
    case kHighLevel:
        s.highLevel = static_cast<float>(q * 0.01);
        ComputeToneLevels();
        break;
    case kWave:
        SetWave(voices_.bank, kWave, q);
        break;
    case kRate:
        ApplyRate(q);
        break;
    case kBinauralPan:
        s.panMode = static_cast<PanMode>(static_cast<int16_t>(q));
        ComputeToneIncrements();
        break;
    case kPlayAnyway:
        ApplyPlayAnyway(q);
        break;
    case kVolume:
        s.volumeLevel = static_cast<float>(q * 0.008 + 0.0001);
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
    settings_.toneCount = count;
    UpdateTargetGain();
    if (!initialised_) return;
    for (int i = tonesSetUp_; i < count; ++i) {
        voices_.freqEnvelopes[i].Prepare(envelopeLength_);
        voices_.volEnvelopes[i].Prepare(envelopeLength_);
        ResetToneFades(i);
    }
    if (count != tonesSetUp_) {
        ComputeToneIncrements();
        PlaceAroundToneZero(true);
    }
    tonesSetUp_ = count;
}

// Two envelope steps per sample, so one pass lasts "Rate" seconds.
void ToneEngine::ApplyRate(int q) {
    if (!initialised_) return;
    envelopeLength_ = static_cast<float>(q * 0.1 * sampleRate_ * 2.0);
    for (int i = 0; i < kMaxTones; ++i) {
        voices_.freqEnvelopes[i].Prepare(envelopeLength_);
        voices_.volEnvelopes[i].Prepare(envelopeLength_);
    }
}

void ToneEngine::ApplyPlayAnyway(int q) {
    const bool was = settings_.playAnyway;
    settings_.playAnyway = q > 0.5;
    if (settings_.playAnyway && !was) restartRequested_ = true;
}

// Until "Tones" is applied there are no tones to share the level.
void ToneEngine::UpdateTargetGain() {
    const int n = settings_.toneCount;
    targetGain_ = n > 0 ? settings_.volumeLevel / std::sqrt(static_cast<float>(n)) : 0.0;
}
