#pragma once

#include "engine/SegmentEnvelope.h"
#include "engine/Waveforms.h"

#include <array>
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <memory>
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

// "Binaural Pan": the ear that gets the higher set of tones. Any other value acts as Null.
enum class PanMode : int16_t { Left = 0, Null = 1, Right = 2 };

// How ReseekTones places the tones: all of them from the host position, or the others around
// tone 0, whose frequency envelope keeps running.
enum class Reseek { FromHostPosition, AroundToneZero };

// The instruction set the tone loop runs on. Plain runs everywhere and is the yardstick; the
// others give the same samples bit for bit, faster.
enum class RenderPath { Plain, Avx2, Avx512 };

// Whether this build has the path and this processor can run it.
bool RenderPathAvailable(RenderPath path);
// The path a new engine takes: the one the build forces, else the fastest available.
RenderPath DefaultRenderPath();

// Every tone below the tone count, where an operation otherwise takes one slot.
enum class ToneSelection { EverySounding };

// The engine fields set from "Binaural" to "Volume"; only ApplyParamKey writes them.
struct ToneSettings {
    int toneCount = 0;
    PanMode panMode = PanMode::Left;
    float binauralHz = 0.0f;
    float lowHz = 0.0f;
    float highHz = 0.0f;
    float spread = 0.0f;
    float lowLevel = 0.0f;
    float middleLevel = 0.0f;
    float highLevel = 0.0f;
    float volumeLevel = 0.0f;
    bool playAnyway = false;
};

// What the render loop advances for every tone slot: phases and targets, both envelopes and
// the crossfades of each ear.
struct ToneVoices {
    OscillatorBank bank;
    SegmentEnvelope freqEnvelopes[kMaxTones];
    SegmentEnvelope volEnvelopes[kMaxTones];
    Crossfade rateFades[kEars][kMaxTones];
    Crossfade levelFades[kEars][kMaxTones];
};

// Frames rendered at a time.
constexpr int kChunk = 512;

// What the lane kernels keep of the voices between chunks: the tones' lanes as the last chunk
// left them, so that the next one need not gather them again from the voices, nor scatter them
// back. Valid only while nothing but the lane kernels has changed the voices; the engine writes
// the lanes back before anything else reads the voices, and drops them on every other change.
struct KeptLanes {
    static constexpr int kBytes = 8192;

    bool valid = false;
    // The voices lag behind the lanes until writeBack brings them up to date.
    bool ahead = false;
    void (*writeBack)(KeptLanes& kept, ToneVoices& voices) = nullptr;
    int toneCount = 0;
    int width = 0;
    // Envelope steps within which no segment can end, spent by each chunk.
    int budget = 0;
    alignas(64) unsigned char lanes[kBytes];
};

// The lane kernels' scratch: every tone's sample of a chunk, per frame and ear, added up in tone
// order afterwards; frame t is in row 1 + t. At 128 KiB it lives with the engine, not on the
// audio thread's stack.
struct LaneScratch {
    alignas(64) double rows[1 + kChunk][kEars][kMaxTones];
    KeptLanes kept;
};

// The binaural tone generator: up to 16 tones per ear, their envelopes, crossfades and master
// gain. Everything but the watchdog runs under the owner's plug-in mutex.
class ToneEngine {
public:
    // runWatchdog false leaves stall detection to explicit WatchdogCheck calls.
    explicit ToneEngine(bool mixInput, bool runWatchdog = true);
    ~ToneEngine();
    ToneEngine(const ToneEngine&) = delete;
    ToneEngine& operator=(const ToneEngine&) = delete;

    // Acts on the rounded key of parameters "Binaural" to "Volume".
    void ApplyParamKey(int index, int32_t q);
    // Pushes a graph's edit copy into the 16 tone envelopes of its kind. The tones are placed
    // relative to tone 0, so the host position is not consulted.
    void ApplyEnvelopeDefinition(const SegmentEnvelope& source, EnvelopeKind kind, int changeCode);

    // Set by the first block; until then nothing that depends on the sample rate is computed.
    bool Initialised() const { return initialised_; }
    void Initialise() { initialised_ = true; }
    double SampleRate() const { return sampleRate_; }
    // Stores the rate the engine works at and makes every crossfade last half a second at it.
    // The caller re-applies the parameters that depend on it.
    void SetSampleRate(double rate);
    // The next block re-places every tone from the host position and fades it in from silence.
    void FadeInAtNextBlock();

    // Renders one block, and tells the watchdog that one arrived and how long it lasts.
    void Render(const double* const* inputs, double* const* outputs, int32_t frames,
                bool transportRunning, int32_t hostSamplePosition);
    // One watchdog check, made every 200 ms by the engine's own thread or, without it, by the
    // caller. The host has stalled when no block arrived for longer than twice the longest
    // recent block and than one check interval; the next block then fades every tone in anew.
    void WatchdogCheck();

    // Phase increments {left, right} of one carrier in Hz, split by the binaural offset.
    std::array<double, kEars> EarIncrements(double carrier) const;
    // From the host position every tone is placed anew; around tone 0 its frequency envelope
    // keeps running and the others are placed relative to it.
    void ReseekTones(Reseek how, int32_t hostSamplePosition = 0);
    void RestartFades(bool freq, bool level);
    void ResetToneFades(int tone);
    void ResetToneFades(ToneSelection tones);

    const ToneSettings& Settings() const { return settings_; }
    const ToneVoices& Voices() const {
        CatchUpVoices();
        return voices_;
    }
    double TargetGain() const { return targetGain_; }
    double CurrentGain() const { return currentGain_; }
    // Steps per pass, two per sample.
    float EnvelopeLength() const { return envelopeLength_; }
    bool MixInput() const { return mixInput_; }
    bool RestartPending() const { return restartRequested_; }
    RenderPath Path() const { return path_; }
    // False, leaving the path as it is, when the path is not available.
    bool SetPath(RenderPath path);

private:
    // The tests' literal reference render steps the voices itself.
    friend struct ToneEngineTestAccess;

    ToneSettings settings_;
    int tonesSetUp_ = 0; // tone count the envelopes were last prepared for
    double targetGain_ = 0.0;
    double currentGain_ = 0.0;
    float envelopeLength_ = 0.0f;
    bool mixInput_ = false;
    bool restartRequested_ = false; // the next block re-seeks the tones and restarts the fades
    bool initialised_ = false;
    double sampleRate_ = 0.0;
    RenderPath path_ = DefaultRenderPath();
    // Mutable so that reading them can first bring them up to date with the kept lanes.
    mutable ToneVoices voices_;
    std::unique_ptr<LaneScratch> laneScratch_ = std::make_unique<LaneScratch>();
    // Whether every rate and phase is known to keep the steps below one period: set by a block
    // that found so, which leaves the phases where the next block finds them so again.
    bool stepsBelowPeriod_ = false;
    std::atomic<bool> blockSeen_{false}; // set by every block, cleared by the watchdog
    // The longest block since the last check, in microseconds; the watchdog takes it.
    std::atomic<uint32_t> longestBlockUs_{0};
    std::atomic<bool> stallDetected_{false};
    // The watchdog's own: the block length it expects and the checks since the last block.
    uint32_t blockPeriodUs_ = 0;
    uint64_t checksWithoutBlock_ = 0;
    std::mutex watchdogMutex_;
    std::condition_variable watchdogWake_;
    bool watchdogRunning_ = false;
    std::thread watchdog_;

    // wide: rates may step a period or more, or phases lie outside [0, 2 period).
    void RenderChunk(const double* const* inputs, double* const* outputs, int32_t offset,
                     int frames, double gainStep, bool wide);
    // Scales the chunk's sums by the gain ramp into the outputs, adding the input if mixed.
    void ApplyGain(double* const* mix, const double* const* inputs, double* const* outputs,
                   int32_t offset, int frames, double gainStep);
    // Called by everything that changes the voices outside the render loop: the render then
    // gathers them afresh rather than trust what it kept of them.
    void VoicesChanged() {
        CatchUpVoices();
        laneScratch_->kept.valid = false;
        stepsBelowPeriod_ = false;
    }
    // Writes what the lane kernels kept back into the voices, where they are ahead of them.
    void CatchUpVoices() const {
        KeptLanes& kept = laneScratch_->kept;
        if (!kept.ahead) return;
        kept.writeBack(kept, voices_);
        kept.ahead = false;
    }
    void ComputeToneIncrements();
    void ComputeToneLevels();
    void ResetFadesOf(int first, int last);
    void SetFadeSteps(double sampleRate);
    void ApplyToneCount(int q);
    void ApplyRate(int q);
    void ApplyPlayAnyway(int q);
    void UpdateTargetGain();
    double LfoPosition(Reseek how, int32_t hostSamplePosition) const;
    // Re-places the tones around tone 0 and restarts the level fades, and the frequency fades
    // with freqFades.
    void PlaceAroundToneZero(bool freqFades);

    void MarkBlockSeen(int32_t frames);
    void WatchdogLoop();
    bool SleepWhileRunning();
};
