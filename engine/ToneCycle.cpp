#include "engine/ToneEngine.h"

#include <cmath>

// Fraction of a pass at which tone 0 stands. From the host position, one pass of host time maps
// to 0.5 because the length counts two steps per sample. Otherwise it is read back from tone 0's
// running frequency envelope.
double ToneEngine::LfoPosition(int keep, int32_t hostSamplePosition) const {
    if (keep <= 0) {
        if (!(envelopeLength > 0.0f)) return 0.0;
        const float a =
            std::fmod(static_cast<float>(hostSamplePosition), envelopeLength) / envelopeLength;
        // Hosts report pre-roll as negative positions; the cycle position stays in [0, 1].
        return a < 0.0f ? a + 1.0f : a;
    }
    const SegmentEnvelope& reference = freqEnvelopes[0];
    if (std::fabs(reference.curvatures[0]) < reference.epsilon) return reference.value;
    SegmentEnvelope probe;
    probe.Init(true);
    probe.curvatures[0] = reference.curvatures[0];
    probe.Prepare(lookupSteps);
    for (int i = 0; i < lookupSteps; ++i) {
        probe.Step();
        if (probe.value >= reference.value) return static_cast<double>(i) / lookupSteps;
    }
    return 1.0;
}

// Tone i runs i/n of a pass ahead of tone 0.
void ToneEngine::ReseekTones(int keep, int32_t hostSamplePosition) {
    const double a = LfoPosition(keep, hostSamplePosition);
    for (int i = 0; i < toneCount; ++i) {
        double c = static_cast<double>(i) / toneCount + a;
        if (c >= 1.0) c -= 1.0;
        if (i >= keep) freqEnvelopes[i].Seek(c);
        volEnvelopes[i].Seek(c);
    }
}

// changeCode: 2 * count the whole shape, 2j + 1 inner point j, 2j the curvature of segment j,
// -1 nothing pending.
void ToneEngine::ApplyEnvelopeDefinition(const SegmentEnvelope& source, EnvelopeKind kind,
                                         int changeCode) {
    SegmentEnvelope* targets = kind == EnvelopeKind::Frequency ? freqEnvelopes : volEnvelopes;
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
    ReseekTones(1, 0);
    RestartFades(kind == EnvelopeKind::Frequency, true);
}
