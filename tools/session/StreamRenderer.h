#pragma once

#include "host/ChangeRing.h"
#include "host/ProcessDriver.h"
#include "tools/program/AutomationPlayer.h"
#include "tools/session/SessionShaping.h"
#include "tools/sound/SoundRing.h"

#include <atomic>
#include <cstdint>
#include <optional>
#include <vector>

namespace serivane::tools {

// Feeds a sound device's callback from a started driver: the driver processes blocks of its
// own fixed size (shorter where an automation's change falls), and each callback takes as many
// frames as it asks for, whatever their count, keeping the rest of a block for the next one.
// Everything it uses on the audio thread is reserved when it is made; the other thread talks to it
// through atomics and rings only and never waits for it.
class StreamRenderer {
public:
    // Plays `lengthFrames` frames (0: until stopped) and fades out over `fadeFrames`.
    StreamRenderer(host::ProcessDriver& driver, std::int64_t lengthFrames, std::int64_t fadeFrames);
    StreamRenderer(const StreamRenderer&) = delete;
    StreamRenderer& operator=(const StreamRenderer&) = delete;

    // Before the stream starts: sends `automation`'s changes as a host sends automation, each
    // at the start of a block on its own frame. The automation must outlive the renderer.
    void follow(const Automation& automation) { automation_.emplace(automation); }
    // Before the stream starts: passes every block through `shaping` (session fades, a mix).
    void shape(SessionShaping shaping) { shaping_.emplace(std::move(shaping)); }

    // Audio thread: `frames` interleaved stereo frames.
    void render(float* interleaved, std::int64_t frames);

    // Other threads.
    void requestStop() { stopRequested_.store(true, std::memory_order_relaxed); }
    bool finished() const { return finished_.load(std::memory_order_acquire); }
    bool failed() const { return failed_.load(std::memory_order_relaxed); }
    std::int64_t framesPlayed() const { return played_.load(std::memory_order_relaxed); }
    // The highest magnitude played since the previous call.
    float takePeak() { return peak_.exchange(0.0f, std::memory_order_relaxed); }
    // False when too many changes are waiting for the next block.
    bool queueChange(Steinberg::Vst::ParamID id, Steinberg::Vst::ParamValue value) {
        return changes_.push({id, value});
    }
    const SoundRing& recent() const { return recent_; }
    double sampleRate() const { return sampleRate_; }

private:
    void refill();
    float nextGain();
    void raisePeak(float level);

    host::ProcessDriver& driver_;
    double sampleRate_;
    std::int64_t length_;
    std::int64_t fadeFrames_;
    std::vector<std::vector<float>> block_;
    std::vector<float*> pointers_;
    std::int64_t blockFrames_;
    std::int64_t filled_; // frames of the current block
    std::int64_t used_;
    std::int64_t rendered_ = 0;   // frames the driver processed, audio thread only
    std::int64_t position_ = 0;   // frames played, audio thread only
    std::int64_t fadeStart_ = -1; // first frame of the fade-out, -1 before it begins
    std::optional<AutomationPlayer> automation_;
    std::optional<SessionShaping> shaping_;
    host::ChangeRing changes_;
    SoundRing recent_;
    std::atomic<bool> stopRequested_{false};
    std::atomic<bool> finished_{false};
    std::atomic<bool> failed_{false};
    std::atomic<std::int64_t> played_{0};
    std::atomic<float> peak_{0.0f};
};

} // namespace serivane::tools
