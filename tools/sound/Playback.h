#pragma once

#include "host/ProcessDriver.h"
#include "tools/session/StreamRenderer.h"
#include "tools/sound/SoundSystem.h"

#include <chrono>
#include <cstdint>
#include <memory>
#include <string>

namespace serivane::tools {

// A started driver playing live on an output device: the device's callback thread renders
// through a StreamRenderer, and the thread that owns the Playback only starts, watches and
// stops it.
class Playback {
public:
    // The fade-out at a stop, long enough to be heard as an ending rather than a click.
    static constexpr double fadeSeconds = 0.15;
    // Frames per process block, reserved before playing.
    static constexpr int blockFrames = 512;

    Playback();
    ~Playback();
    Playback(const Playback&) = delete;
    Playback& operator=(const Playback&) = delete;

    // Starts the sound system and picks the output (see SoundSystem::choose).
    bool openDevice(const std::string& choice, std::string& error);
    const OutputDevice& device() const { return device_; }
    // The configuration a driver needs to play on the chosen device.
    host::ProcessConfig processConfig() const;

    // Plays `driver`, made with processConfig() and started, for `lengthFrames` (0: until
    // stopped).
    bool start(host::ProcessDriver& driver, std::int64_t lengthFrames, std::string& error);
    // The same in two steps, so that the renderer can be given more to play before it starts.
    StreamRenderer& prepare(host::ProcessDriver& driver, std::int64_t lengthFrames);
    bool start(std::string& error);
    StreamRenderer& renderer() { return *renderer_; }
    // False once the device has stopped (its stream ended, or it took no audio for a while),
    // or processing failed.
    bool flowing();
    // Fades out, waits for the fade to be written and closes the stream, which lets the
    // device play what it still holds; false with `error` when the device or the plug-in
    // failed on the way.
    bool stop(std::string& error);

    // What the stream's callback reaches.
    struct Feed;

private:
    using Clock = std::chrono::steady_clock;

    bool closeStream(std::string& error);
    void abandon();

    SoundSystem system_;
    OutputDevice device_;
    std::unique_ptr<StreamRenderer> renderer_;
    std::unique_ptr<Feed> feed_;
    void* stream_ = nullptr;
    std::string stopped_; // why the device stopped; empty while it plays
    std::int64_t lastFrames_ = -1;
    Clock::time_point lastMove_;
};

} // namespace serivane::tools
