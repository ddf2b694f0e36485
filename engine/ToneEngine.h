#pragma once

#include "engine/SegmentEnvelope.h"
#include "engine/Waveforms.h"

#include <array>
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <thread>

// Half-second glide of one target of one tone and ear, from `from` to the live value.
struct Crossfade {
    bool active = false;
    double from = 0.0;
    double current = 0.0;
    double progress = 0.0;
    double step = 0.0;
};

enum class EnvelopeKind { Frequency, Volume };

// The binaural tone generator: up to 16 tones per ear, their envelopes, crossfades and master
// gain. Everything but the watchdog runs under the owner's plug-in mutex.
class ToneEngine {
public:
    // runWatchdog false leaves stall detection to explicit WatchdogCheck calls.
    explicit ToneEngine(bool mixInput, bool runWatchdog = true);
    ~ToneEngine();
    ToneEngine(const ToneEngine&) = delete;
    ToneEngine& operator=(const ToneEngine&) = delete;

    int toneCount = 0;
    int tonesSetUp = 0; // tone count the envelopes were last prepared for
    int16_t panMode = 0;
    float binauralHz = 0.0f;
    float lowHz = 0.0f;
    float highHz = 0.0f;
    float spread = 0.0f;
    float lowLevel = 0.0f;
    float middleLevel = 0.0f;
    float highLevel = 0.0f;
    float volumeLevel = 0.0f;
    double targetGain = 0.0;
    double currentGain = 0.0;
    float envelopeLength = 0.0f; // steps per pass, two per sample
    int16_t lookupSteps = 300;   // resolution of the position read back from tone 0
    bool playAnyway = false;
    bool mixInput = false;
    bool restartRequested = false; // the next block re-seeks the tones and restarts the fades
    bool initialised = false;
    double engineSampleRate = 0.0;
    OscillatorBank bank;
    SegmentEnvelope freqEnvelopes[kMaxTones];
    SegmentEnvelope volEnvelopes[kMaxTones];
    Crossfade rateFades[kEars][kMaxTones];
    Crossfade levelFades[kEars][kMaxTones];
    std::atomic<bool> blockSeen{false}; // set by every block, cleared by the watchdog

    // Phase increments {left, right} of one carrier in Hz, split by the binaural offset.
    std::array<double, kEars> EarIncrements(double carrier) const;
    void ComputeToneIncrements();
    void ComputeToneLevels();
    // tone -1 means every sounding tone.
    void ResetToneFades(int tone);
    void RestartFades(bool freq, bool level);
    // keep <= 0 places every tone from the host position; keep >= 1 leaves tone 0's frequency
    // envelope running and places the others relative to it.
    void ReseekTones(int keep, int32_t hostSamplePosition);
    // The tones are placed relative to tone 0, so the host position is not consulted.
    void ApplyEnvelopeDefinition(const SegmentEnvelope& source, EnvelopeKind kind, int changeCode);
    void SetFadeSteps(double sampleRate);
    // Acts on the rounded key of parameters 0 to 12.
    void ApplyParamKey(int index, int32_t q);

    void MarkBlockSeen() { blockSeen.store(true); }
    void Render(const double* const* inputs, double* const* outputs, int32_t frames,
                bool transportRunning, int32_t hostSamplePosition);
    // One watchdog check: a block since the last check clears the mark, none flags a stall.
    void WatchdogCheck();

private:
    std::atomic<bool> stallDetected{false};
    std::mutex watchdogMutex;
    std::condition_variable watchdogWake;
    bool watchdogRunning = false;
    std::thread watchdog;

    void ApplyToneCount(int q);
    void ApplyRate(int q);
    void ApplyPlayAnyway(int q);
    void UpdateTargetGain();
    double LfoPosition(int keep, int32_t hostSamplePosition) const;

    void WatchdogLoop();
    bool SleepWhileRunning();
};
