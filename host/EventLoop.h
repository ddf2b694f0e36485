#pragma once

#include "pluginterfaces/gui/iplugview.h"

#include <chrono>
#include <cstddef>
#include <vector>

namespace serivane::host {

// The host's user-interface event loop: file descriptors watched with poll and repeating
// timers, all dispatched on the thread that runs the loop. Handlers are held by a counted
// reference while registered and may register or unregister handlers from inside a callback.
class EventLoop {
public:
    using Clock = std::chrono::steady_clock;

    EventLoop() = default;
    EventLoop(const EventLoop&) = delete;
    EventLoop& operator=(const EventLoop&) = delete;

    bool addHandler(Steinberg::Linux::IEventHandler* handler, int fd);
    bool removeHandler(Steinberg::Linux::IEventHandler* handler);
    bool addTimer(Steinberg::Linux::ITimerHandler* handler, std::chrono::milliseconds interval);
    bool removeTimer(Steinberg::Linux::ITimerHandler* handler);

    // Waits until a descriptor is readable, a timer is due or the deadline passes, and
    // dispatches what is ready.
    void runOnce(Clock::time_point deadline);
    void runUntil(Clock::time_point deadline);
    void runFor(std::chrono::milliseconds duration) { runUntil(Clock::now() + duration); }

    std::size_t handlerCount() const { return handlers_.size(); }
    std::size_t timerCount() const { return timers_.size(); }

private:
    struct Watch {
        Steinberg::IPtr<Steinberg::Linux::IEventHandler> handler;
        int fd;
    };
    struct Timer {
        Steinberg::IPtr<Steinberg::Linux::ITimerHandler> handler;
        Clock::duration interval;
        Clock::time_point due;
    };

    Clock::time_point nextDue(Clock::time_point deadline) const;
    void dispatchDescriptors(Clock::time_point wakeAt);
    void dispatchTimers();
    bool watching(Steinberg::Linux::IEventHandler* handler, int fd) const;
    Timer* timerOf(Steinberg::Linux::ITimerHandler* handler);

    std::vector<Watch> handlers_;
    std::vector<Timer> timers_;
};

} // namespace serivane::host
