#include "host/EventLoop.h"

#include <algorithm>
#include <cerrno>
#include <poll.h>

namespace serivane::host {

using namespace Steinberg;

bool EventLoop::addHandler(Linux::IEventHandler* handler, int fd) {
    if (!handler || fd < 0) return false;
    handlers_.push_back({handler, fd});
    return true;
}

bool EventLoop::removeHandler(Linux::IEventHandler* handler) {
    auto removed = std::erase_if(handlers_, [&](const Watch& w) { return w.handler == handler; });
    return removed > 0;
}

bool EventLoop::addTimer(Linux::ITimerHandler* handler, std::chrono::milliseconds interval) {
    if (!handler || interval.count() <= 0) return false;
    if (Timer* existing = timerOf(handler)) {
        existing->interval = interval;
        existing->due = Clock::now() + interval;
        return true;
    }
    timers_.push_back({handler, interval, Clock::now() + interval});
    return true;
}

bool EventLoop::removeTimer(Linux::ITimerHandler* handler) {
    auto removed = std::erase_if(timers_, [&](const Timer& t) { return t.handler == handler; });
    return removed > 0;
}

void EventLoop::runOnce(Clock::time_point deadline) {
    dispatchDescriptors(nextDue(deadline));
    dispatchTimers();
}

void EventLoop::runUntil(Clock::time_point deadline) {
    do {
        runOnce(deadline);
    } while (Clock::now() < deadline);
}

EventLoop::Clock::time_point EventLoop::nextDue(Clock::time_point deadline) const {
    Clock::time_point wake = deadline;
    for (const Timer& t : timers_) wake = std::min(wake, t.due);
    return wake;
}

void EventLoop::dispatchDescriptors(Clock::time_point wakeAt) {
    std::vector<pollfd> fds;
    fds.reserve(handlers_.size());
    for (const Watch& w : handlers_) fds.push_back({w.fd, POLLIN, 0});
    auto wait = std::chrono::ceil<std::chrono::milliseconds>(wakeAt - Clock::now());
    int timeout = static_cast<int>(std::max<std::chrono::milliseconds::rep>(0, wait.count()));
    int ready = poll(fds.data(), fds.size(), timeout);
    if (ready <= 0) return;
    // A callback may change the list, so the ready ones are collected before any is called.
    std::vector<Watch> due;
    for (std::size_t i = 0; i < fds.size(); ++i) {
        if (fds[i].revents != 0) due.push_back(handlers_[i]);
    }
    for (const Watch& w : due) {
        if (watching(w.handler, w.fd)) w.handler->onFDIsSet(w.fd);
    }
}

void EventLoop::dispatchTimers() {
    Clock::time_point now = Clock::now();
    std::vector<IPtr<Linux::ITimerHandler>> due;
    for (Timer& t : timers_) {
        if (t.due > now) continue;
        due.push_back(t.handler);
        // A loop that fell behind skips the missed ticks rather than firing them in a burst.
        t.due = std::max(t.due + t.interval, now + t.interval / 2);
    }
    for (const IPtr<Linux::ITimerHandler>& handler : due) {
        if (timerOf(handler)) handler->onTimer();
    }
}

bool EventLoop::watching(Linux::IEventHandler* handler, int fd) const {
    return std::any_of(handlers_.begin(), handlers_.end(),
                       [&](const Watch& w) { return w.handler == handler && w.fd == fd; });
}

EventLoop::Timer* EventLoop::timerOf(Linux::ITimerHandler* handler) {
    auto found = std::find_if(timers_.begin(), timers_.end(),
                              [&](const Timer& t) { return t.handler == handler; });
    return found == timers_.end() ? nullptr : &*found;
}

} // namespace serivane::host
