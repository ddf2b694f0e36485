#include "instrument/ToneReadout.h"

#include <algorithm>

namespace {

// Steps per pass of the shapes the resting places are read from: finer than any plot.
constexpr float kRestingSteps = 1 << 20;

EnvelopePlace PlaceOf(const SegmentEnvelope& envelope) {
    const int segment = std::clamp(envelope.segment, 0, envelope.count - 1);
    return {envelope.value, segment, envelope.rising[segment] != 0};
}

} // namespace

void ReadTones(const ToneEngine& engine, ToneReadout& out) {
    const ToneSettings& settings = engine.Settings();
    const ToneVoices& voices = engine.Voices();
    out.initialised = engine.Initialised();
    out.lowHz = settings.lowHz;
    out.highHz = settings.highHz;
    out.count = std::clamp(settings.toneCount, 0, kMaxTones);
    for (int i = 0; i < out.count; ++i) {
        ToneReadout::Tone& tone = out.tones[static_cast<size_t>(i)];
        tone.frequency = PlaceOf(voices.freqEnvelopes[i]);
        tone.volume = PlaceOf(voices.volEnvelopes[i]);
        tone.rate = voices.bank.rates[0][i];
    }
}

void ReadRestingTones(const ToneSettings& settings, const SegmentEnvelope& frequency,
                      const SegmentEnvelope& volume, ToneReadout& out) {
    out.initialised = false;
    out.lowHz = settings.lowHz;
    out.highHz = settings.highHz;
    out.count = std::clamp(settings.toneCount, 0, kMaxTones);
    SegmentEnvelope freq = frequency;
    SegmentEnvelope vol = volume;
    freq.Prepare(kRestingSteps);
    vol.Prepare(kRestingSteps);
    for (int i = 0; i < out.count; ++i) {
        const double x = static_cast<double>(i) / out.count;
        freq.Seek(x);
        vol.Seek(x);
        ToneReadout::Tone& tone = out.tones[static_cast<size_t>(i)];
        tone.frequency = PlaceOf(freq);
        tone.volume = PlaceOf(vol);
        tone.rate = {};
    }
}
