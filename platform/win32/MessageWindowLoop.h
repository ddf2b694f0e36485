#pragma once

#include "platform/RunLoopLink.h"

#include <windows.h>

#include <functional>
#include <vector>

// Timers on a message-only window of the thread that makes it: their WM_TIMER messages arrive
// through that thread's message loop, the one a host's user-interface thread runs. Descriptors
// cannot be watched this way and are refused.
class MessageWindowLoop : public IRunLoopLink {
public:
    MessageWindowLoop();
    ~MessageWindowLoop() override;
    MessageWindowLoop(const MessageWindowLoop&) = delete;
    MessageWindowLoop& operator=(const MessageWindowLoop&) = delete;

    bool Watch(int fd, std::function<void()> onReadable) override;
    bool StartTimer(int intervalMs, std::function<void()> onTick) override;
    void StopAll() override;

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    HWND window_ = nullptr;
    // The callback of timer id i + 1.
    std::vector<std::function<void()>> timers_;
};
