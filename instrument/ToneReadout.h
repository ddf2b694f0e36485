#pragma once

#include "engine/ToneEngine.h"

#include <array>

// Where an envelope of one tone stands.
struct EnvelopePlace {
    double value = 0.0;
    int segment = 0;
    bool rising = true;
};

// What the editor shows of the sounding tones: their envelope places and the first ear's phase
// increments, which are proportional to frequency. Read under the plug-in mutex and drawn after.
struct ToneReadout {
    struct Tone {
        EnvelopePlace frequency;
        EnvelopePlace volume;
        ToneIncrement rate;
    };

    bool initialised = false;
    float lowHz = 0.0f;
    float highHz = 0.0f;
    int count = 0;
    std::array<Tone, kMaxTones> tones{};

    const EnvelopePlace& Place(int tone, EnvelopeKind kind) const {
        const Tone& t = tones[static_cast<size_t>(tone)];
        return kind == EnvelopeKind::Frequency ? t.frequency : t.volume;
    }
};

// Copies the engine's tone state; the caller holds the plug-in mutex.
void ReadTones(const ToneEngine& engine, ToneReadout& out);
// Before the first block: where that block will place the tones on the given shapes when the
// host starts from its beginning, tone i i/n of a pass ahead of tone 0. Rates are not known yet.
void ReadRestingTones(const ToneSettings& settings, const SegmentEnvelope& frequency,
                      const SegmentEnvelope& volume, ToneReadout& out);
