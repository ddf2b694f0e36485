#include "engine/ToneEngine.h"

#include <algorithm>
#include <cmath>

// Fraction of a pass at which tone 0 stands. From the host position, one pass of host time maps
// to 0.5 because the length counts two steps per sample. Otherwise it is read back from tone 0's
// running frequency envelope, on the curve its steps follow: k steps of x <- m x + c from 0 lead
// to c (m^k - 1) / (m - 1). Its single-precision multiplier bends that curve differently from the
// nominal curvature, the more so the longer the pass.
double ToneEngine::LfoPosition(Reseek how, int32_t hostSamplePosition) const {
    if (how == Reseek::FromHostPosition) {
        if (!(envelopeLength_ > 0.0f)) return 0.0;
        const float a =
            std::fmod(static_cast<float>(hostSamplePosition), envelopeLength_) / envelopeLength_;
        // Hosts report pre-roll as negative positions; the cycle position stays in [0, 1].
        return a < 0.0f ? a + 1.0f : a;
    }
    const SegmentEnvelope& reference = voices_.freqEnvelopes[0];
    if (std::fabs(reference.curvatures[0]) < reference.epsilon) return reference.value;
    const double m = reference.multipliers[0];
    const double c = reference.increments[0];
    const double x = reference.value;
    const double steps = m == 1.0 ? x / c : std::log1p(x * (m - 1.0) / c) / std::log1p(m - 1.0);
    const double a = steps / reference.length;
    return std::isfinite(a) ? std::clamp(a, 0.0, 1.0) : 0.0;
}

// A pending restart places every tone from the host position at the next block and restarts its
// fades then. Placing them now would put them around tone 0 before it has a place of its own
// (before the first block) and give every fade a starting pitch in that provisional layout.
void ToneEngine::PlaceAroundToneZero(bool freqFades) {
    if (restartRequested_) return;
    ReseekTones(Reseek::AroundToneZero);
    RestartFades(freqFades, true);
}

// Tone i runs i/n of a pass ahead of tone 0.
void ToneEngine::ReseekTones(Reseek how, int32_t hostSamplePosition) {
    VoicesChanged();
    const double a = LfoPosition(how, hostSamplePosition);
    const int n = settings_.toneCount;
    for (int i = 0; i < n; ++i) {
        double c = static_cast<double>(i) / n + a;
        if (c >= 1.0) c -= 1.0;
        if (how == Reseek::FromHostPosition || i > 0) voices_.freqEnvelopes[i].Seek(c);
        voices_.volEnvelopes[i].Seek(c);
    }
}

// changeCode: 2 * count the whole shape, 2j + 1 inner point j, 2j the curvature of segment j,
// -1 nothing pending.
void ToneEngine::ApplyEnvelopeDefinition(const SegmentEnvelope& source, EnvelopeKind kind,
                                         int changeCode) {
    VoicesChanged();
    SegmentEnvelope* targets =
        kind == EnvelopeKind::Frequency ? voices_.freqEnvelopes : voices_.volEnvelopes;
    const int count = targets[0].count;
    const int j = changeCode / 2;
    const bool whole = changeCode == 2 * count;
    const bool innerPoint = changeCode % 2 == 1;
    if (source.count != count || changeCode < 0 || changeCode > 2 * count ||
        (innerPoint && j >= count - 1)) {
        return;
    }
    for (int t = 0; t < kMaxTones; ++t) {
        SegmentEnvelope& env = targets[t];
        if (whole) {
            for (int i = 0; i < count; ++i) env.curvatures[i] = source.curvatures[i];
            for (int i = 0; i < count - 1; ++i) env.innerPoints[i] = source.innerPoints[i];
        } else if (innerPoint) {
            env.innerPoints[j] = source.innerPoints[j];
        } else {
            env.curvatures[j] = source.curvatures[j];
        }
        env.Prepare(0.0f);
    }
    PlaceAroundToneZero(kind == EnvelopeKind::Frequency);
}
