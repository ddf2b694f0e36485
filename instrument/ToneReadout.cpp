#include "instrument/ToneReadout.h"

#include <algorithm>

namespace {

EnvelopePlace PlaceOf(const SegmentEnvelope& envelope) {
    const int segment = std::clamp(envelope.segment, 0, envelope.count - 1);
    return {envelope.value, segment, envelope.rising[segment] != 0};
}

} // namespace

void ReadTones(const ToneEngine& engine, ToneReadout& out) {
    out.initialised = engine.initialised;
    out.lowHz = engine.lowHz;
    out.highHz = engine.highHz;
    out.count = std::clamp(engine.toneCount, 0, kMaxTones);
    for (int i = 0; i < out.count; ++i) {
        ToneReadout::Tone& tone = out.tones[static_cast<size_t>(i)];
        tone.frequency = PlaceOf(engine.freqEnvelopes[i]);
        tone.volume = PlaceOf(engine.volEnvelopes[i]);
        tone.rate = engine.bank.rates[0][i];
    }
}
