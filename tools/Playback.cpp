#include "tools/Playback.h"

#include <portaudio.h>

#include <cmath>
#include <thread>

namespace serivane::tools {

namespace {

// How long a device may take no audio before it counts as gone.
constexpr auto stallLimit = std::chrono::seconds(3);

int feed(const void*, void* output, unsigned long frames, const PaStreamCallbackTimeInfo*,
         PaStreamCallbackFlags, void* user) {
    static_cast<StreamRenderer*>(user)->render(static_cast<float*>(output),
                                               static_cast<std::int64_t>(frames));
    return paContinue;
}

std::string failure(const char* what, PaError code) {
    return std::string(what) + ": " + Pa_GetErrorText(code);
}

} // namespace

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
    auto fadeFrames = static_cast<std::int64_t>(std::lround(fadeSeconds * device_.sampleRate));
    renderer_ = std::make_unique<StreamRenderer>(driver, lengthFrames, fadeFrames);
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
                               paFramesPerBufferUnspecified, paNoFlag, feed, renderer_.get());
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
    std::int64_t frames = renderer_->framesPlayed();
    Clock::time_point now = Clock::now();
    if (frames != lastFrames_ || renderer_->finished()) {
        lastFrames_ = frames;
        lastMove_ = now;
    }
    return now - lastMove_ < stallLimit;
}

bool Playback::stop(std::string& error) {
    if (!renderer_) return true;
    renderer_->requestStop();
    bool flowed = true;
    while (!renderer_->finished() && (flowed = flowing()))
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    bool closed = closeStream(error);
    if (renderer_->failed()) {
        error = "the plug-in failed to process audio";
        return false;
    }
    if (!flowed) {
        error = "the output device \"" + device_.name + "\" stopped taking audio";
        return false;
    }
    return closed;
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
