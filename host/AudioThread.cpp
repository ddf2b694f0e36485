#include "host/AudioThread.h"

#include <chrono>

namespace serivane::host {

AudioThread::AudioThread(ProcessDriver& driver)
    : driver_(driver),
      buffers_(static_cast<std::size_t>(driver.outputChannelCount()),
               std::vector<float>(static_cast<std::size_t>(driver.config().maxBlock))) {
    for (std::vector<float>& buffer : buffers_) pointers_.push_back(buffer.data());
}

AudioThread::~AudioThread() {
    stop();
}

void AudioThread::start() {
    if (running_.exchange(true)) return;
    thread_ = std::thread([this] { run(); });
}

void AudioThread::stop() {
    if (!running_.exchange(false)) return;
    thread_.join();
}

bool AudioThread::queueChange(Steinberg::Vst::ParamID id, Steinberg::Vst::ParamValue value) {
    return changes_.push({id, value});
}

void AudioThread::run() {
    using Clock = std::chrono::steady_clock;
    const ProcessConfig& config = driver_.config();
    auto period = std::chrono::duration_cast<Clock::duration>(
        std::chrono::duration<double>(config.maxBlock / config.sampleRate));
    Clock::time_point next = Clock::now();
    while (running_.load(std::memory_order_relaxed)) {
        ParameterChange change;
        while (changes_.pop(change)) driver_.parameterChanges().add(change.id, change.value);
        if (!driver_.process(pointers_.data(), config.maxBlock))
            failed_.store(true, std::memory_order_relaxed);
        blocks_.fetch_add(1, std::memory_order_relaxed);
        next += period;
        std::this_thread::sleep_until(next);
    }
}

} // namespace serivane::host
