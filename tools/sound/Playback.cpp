#include "tools/sound/Playback.h"
#include "tools/report/NumberText.h"

#include <portaudio.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <thread>

namespace serivane::tools {

// The renderer until the stream is cut off from it; after that, callbacks play silence.
struct Playback::Feed {
    StreamRenderer* renderer = nullptr;
    std::atomic<bool> cut{false};
    std::atomic<bool> rendering{false}; // a callback is in the renderer
};

namespace {

// How long a device may take no audio before it counts as gone.
constexpr auto stallLimit = std::chrono::seconds(2);

int feed(const void*, void* output, unsigned long frames, const PaStreamCallbackTimeInfo*,
         PaStreamCallbackFlags, void* user) {
    auto& to = *static_cast<Playback::Feed*>(user);
    auto* samples = static_cast<float*>(output);
    // Sequentially consistent with the cut: either it sees the cut, or the cut sees it rendering.
    to.rendering.store(true);
    if (to.cut.load())
        std::fill(samples, samples + 2 * frames, 0.0f);
    else
        to.renderer->render(samples, static_cast<std::int64_t>(frames));
    to.rendering.store(false);
    return paContinue;
}

std::string failure(const char* what, PaError code) {
    return std::string(what) + ": " + Pa_GetErrorText(code);
}

} // namespace

Playback::Playback() = default;

Playback::~Playback() {
    std::string ignored;
    closeStream(ignored);
}

bool Playback::openDevice(const std::string& choice, std::string& error) {
    return system_.open(error) && system_.choose(choice, device_, error);
}

host::ProcessConfig Playback::processConfig() const {
    return {device_.sampleRate, blockFrames, Steinberg::Vst::kSample32, Steinberg::Vst::kRealtime};
}

bool Playback::start(host::ProcessDriver& driver, std::int64_t lengthFrames, std::string& error) {
    prepare(driver, lengthFrames);
    return start(error);
}

StreamRenderer& Playback::prepare(host::ProcessDriver& driver, std::int64_t lengthFrames) {
    auto fadeFrames = static_cast<std::int64_t>(std::lround(fadeSeconds * device_.sampleRate));
    renderer_ = std::make_unique<StreamRenderer>(driver, lengthFrames, fadeFrames);
    feed_ = std::make_unique<Feed>();
    feed_->renderer = renderer_.get();
    return *renderer_;
}

bool Playback::start(std::string& error) {
    const PaDeviceInfo* info = Pa_GetDeviceInfo(device_.index);
    PaStreamParameters output{};
    output.device = device_.index;
    output.channelCount = 2;
    output.sampleFormat = paFloat32;
    output.suggestedLatency = info != nullptr ? info->defaultHighOutputLatency : 0.1;
    PaStream* stream = nullptr;
    PaError result = paNoError;
    {
        QuietErrors quiet;
        result = Pa_OpenStream(&stream, nullptr, &output, device_.sampleRate,
                               paFramesPerBufferUnspecified, paNoFlag, feed, feed_.get());
    }
    if (result != paNoError) {
        error = failure(("cannot open \"" + device_.name + "\"").c_str(), result);
        return false;
    }
    stream_ = stream;
    lastFrames_ = -1;
    lastMove_ = Clock::now();
    if ((result = Pa_StartStream(stream)) != paNoError) {
        error = failure(("cannot start \"" + device_.name + "\"").c_str(), result);
        closeStream(error);
        return false;
    }
    return true;
}

bool Playback::flowing() {
    if (!renderer_ || renderer_->failed()) return false;
    if (!stopped_.empty()) return false;
    std::int64_t frames = renderer_->framesPlayed();
    Clock::time_point now = Clock::now();
    if (frames != lastFrames_ || renderer_->finished()) {
        lastFrames_ = frames;
        lastMove_ = now;
    }
    // A stream that ended unasked was ended by its sound system (JACK's, when its server goes).
    if (Pa_IsStreamActive(stream_) != 1)
        stopped_ = "\"" + device_.name + "\" (" + device_.hostApi + ") ended the stream";
    else if (now - lastMove_ >= stallLimit)
        stopped_ = "\"" + device_.name + "\" took no audio for " +
                   durationText(static_cast<double>(stallLimit.count()));
    return stopped_.empty();
}

bool Playback::stop(std::string& error) {
    if (!renderer_ || stream_ == nullptr) return true;
    renderer_->requestStop();
    while (flowing() && !renderer_->finished())
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    if (!stopped_.empty()) {
        abandon();
        error = "the sound device stopped: " + stopped_;
        return false;
    }
    bool closed = closeStream(error);
    if (renderer_->failed()) {
        error = "the plug-in failed to process audio";
        return false;
    }
    return closed;
}

// A stopped device's stream is left as it is to the process's end: stopping or closing it can
// wait for ten minutes (PortAudio's JACK waits for a server that is gone), and ending PortAudio
// then aborts. The renderer is cut off first, so that the plug-in can go.
void Playback::abandon() {
    feed_->cut.store(true);
    while (feed_->rendering.load()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    // The stream may still call its callback, which then plays silence from the feed.
    static_cast<void>(feed_.release());
    stream_ = nullptr;
    system_.abandon();
}

bool Playback::closeStream(std::string& error) {
    if (stream_ == nullptr) return true;
    QuietErrors quiet;
    PaError stopped = Pa_StopStream(stream_);
    PaError closed = Pa_CloseStream(stream_);
    stream_ = nullptr;
    if (stopped != paNoError && stopped != paStreamIsStopped) {
        error = failure("cannot stop the output stream", stopped);
        return false;
    }
    if (closed != paNoError) {
        error = failure("cannot close the output stream", closed);
        return false;
    }
    return true;
}

} // namespace serivane::tools
