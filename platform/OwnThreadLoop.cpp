#include "platform/OwnThreadLoop.h"

#include <algorithm>
#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

OwnThreadLoop::OwnThreadLoop() {
    if (pipe2(wakeFds_, O_CLOEXEC | O_NONBLOCK) != 0) wakeFds_[0] = wakeFds_[1] = -1;
}

OwnThreadLoop::~OwnThreadLoop() {
    StopAll();
    for (int fd : wakeFds_) {
        if (fd >= 0) close(fd);
    }
}

bool OwnThreadLoop::Watch(int fd, std::function<void()> onReadable) {
    if (fd < 0 || wakeFds_[0] < 0) return false;
    {
        std::lock_guard lock(mutex_);
        watched_.push_back({fd, std::move(onReadable)});
    }
    EnsureRunning();
    return true;
}

bool OwnThreadLoop::StartTimer(int intervalMs, std::function<void()> onTick) {
    if (intervalMs <= 0 || wakeFds_[0] < 0) return false;
    {
        std::lock_guard lock(mutex_);
        auto interval = std::chrono::milliseconds(intervalMs);
        timers_.push_back({interval, Clock::now() + interval, std::move(onTick)});
    }
    EnsureRunning();
    return true;
}

void OwnThreadLoop::StopAll() {
    stopping_ = true;
    if (thread_.joinable() && thread_.get_id() != std::this_thread::get_id()) {
        Wake();
        thread_.join();
        thread_ = std::thread();
    }
    std::lock_guard lock(mutex_);
    watched_.clear();
    timers_.clear();
}

void OwnThreadLoop::EnsureRunning() {
    if (thread_.joinable()) {
        Wake();
        return;
    }
    stopping_ = false;
    thread_ = std::thread([this] { Run(); });
}

void OwnThreadLoop::Wake() {
    char byte = 1;
    [[maybe_unused]] ssize_t written = write(wakeFds_[1], &byte, 1);
}

void OwnThreadLoop::Run() {
    std::vector<pollfd> fds;
    std::vector<std::function<void()>> due;
    while (!stopping_) {
        Clock::time_point wake = Clock::now() + std::chrono::seconds(1);
        fds.assign(1, {wakeFds_[0], POLLIN, 0});
        {
            std::lock_guard lock(mutex_);
            for (const Watched& w : watched_) fds.push_back({w.fd, POLLIN, 0});
            for (const Timer& t : timers_) wake = std::min(wake, t.due);
        }
        auto wait = std::chrono::ceil<std::chrono::milliseconds>(wake - Clock::now()).count();
        int ready = poll(fds.data(), fds.size(), static_cast<int>(std::max<long long>(0, wait)));
        if (ready > 0 && fds[0].revents != 0) {
            char drain[64];
            while (read(wakeFds_[0], drain, sizeof drain) > 0) {
            }
        }
        due.clear();
        {
            std::lock_guard lock(mutex_);
            for (std::size_t i = 1; ready > 0 && i < fds.size(); ++i) {
                if (fds[i].revents != 0 && i - 1 < watched_.size())
                    due.push_back(watched_[i - 1].onReadable);
            }
            Clock::time_point now = Clock::now();
            for (Timer& t : timers_) {
                if (t.due > now) continue;
                due.push_back(t.onTick);
                t.due = std::max(t.due + t.interval, now + t.interval / 2);
            }
        }
        for (const std::function<void()>& callback : due) {
            if (stopping_) break;
            callback();
        }
    }
}
