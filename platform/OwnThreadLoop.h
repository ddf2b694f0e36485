#pragma once

#include "platform/RunLoopLink.h"

#include <atomic>
#include <chrono>
#include <mutex>
#include <thread>
#include <vector>

// A run loop on a thread of its own, for hosts that offer none: one poll over the watched
// descriptors and a wake-up pipe, with the timers due in between.
class OwnThreadLoop : public IRunLoopLink {
public:
    OwnThreadLoop();
    ~OwnThreadLoop() override;
    OwnThreadLoop(const OwnThreadLoop&) = delete;
    OwnThreadLoop& operator=(const OwnThreadLoop&) = delete;

    // Registrations before the thread starts, or from inside its callbacks.
    bool Watch(int fd, std::function<void()> onReadable) override;
    bool StartTimer(int intervalMs, std::function<void()> onTick) override;
    // Stops and joins the thread; from inside a callback it only stops dispatching.
    void StopAll() override;

private:
    using Clock = std::chrono::steady_clock;
    struct Watched {
        int fd;
        std::function<void()> onReadable;
    };
    struct Timer {
        Clock::duration interval;
        Clock::time_point due;
        std::function<void()> onTick;
    };

    void EnsureRunning();
    void Run();
    void Wake();

    std::mutex mutex_;
    std::vector<Watched> watched_;
    std::vector<Timer> timers_;
    int wakeFds_[2] = {-1, -1};
    std::atomic<bool> stopping_{false};
    std::thread thread_;
};
