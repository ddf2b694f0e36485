#pragma once

#include "host/ChangeRing.h"
#include "host/ProcessDriver.h"

#include <atomic>
#include <thread>
#include <vector>

namespace serivane::host {

// Processes a started driver block after block on a thread of its own, paced at the sample
// rate as a sound card would, while the user-interface thread runs an editor. Parameter
// changes reach the thread through a ring; the thread neither allocates nor waits on a lock.
class AudioThread {
public:
    explicit AudioThread(ProcessDriver& driver);
    ~AudioThread();
    AudioThread(const AudioThread&) = delete;
    AudioThread& operator=(const AudioThread&) = delete;

    void start();
    void stop();

    // Queues a change for the next block; false when too many are waiting.
    bool queueChange(Steinberg::Vst::ParamID id, Steinberg::Vst::ParamValue value);
    long long blocksProcessed() const { return blocks_.load(std::memory_order_relaxed); }
    bool failed() const { return failed_.load(std::memory_order_relaxed); }

private:
    void run();

    ProcessDriver& driver_;
    ChangeRing changes_;
    std::vector<std::vector<float>> buffers_;
    std::vector<float*> pointers_;
    std::atomic<bool> running_{false};
    std::atomic<bool> failed_{false};
    std::atomic<long long> blocks_{0};
    std::thread thread_;
};

} // namespace serivane::host
