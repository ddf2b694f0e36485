#include "platform/win32/MessageWindowLoop.h"

#include "platform/win32/CountedWindowClass.h"

namespace {

CountedWindowClass gTimerClass(L"IEffectTimerClass", 0, nullptr);

} // namespace

MessageWindowLoop::MessageWindowLoop() {
    if (!gTimerClass.Acquire(&WindowProc)) return;
    window_ = CreateWindowExW(0, gTimerClass.Name(), L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                              ModuleInstance(), nullptr);
    if (!window_) {
        gTimerClass.Release();
        return;
    }
    SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

MessageWindowLoop::~MessageWindowLoop() {
    if (!window_) return;
    StopAll();
    SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
    DestroyWindow(window_);
    gTimerClass.Release();
}

bool MessageWindowLoop::Watch(int, std::function<void()>) {
    return false;
}

bool MessageWindowLoop::StartTimer(int intervalMs, std::function<void()> onTick) {
    if (!window_ || intervalMs <= 0) return false;
    const UINT_PTR id = timers_.size() + 1;
    if (SetTimer(window_, id, static_cast<UINT>(intervalMs), nullptr) == 0) return false;
    timers_.push_back(std::move(onTick));
    return true;
}

void MessageWindowLoop::StopAll() {
    for (UINT_PTR id = 1; id <= timers_.size(); ++id) KillTimer(window_, id);
    timers_.clear();
}

LRESULT CALLBACK MessageWindowLoop::WindowProc(HWND window, UINT message, WPARAM wParam,
                                               LPARAM lParam) {
    auto* self = reinterpret_cast<MessageWindowLoop*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (message != WM_TIMER || !self || wParam < 1 || wParam > self->timers_.size())
        return DefWindowProcW(window, message, wParam, lParam);
    // A copy, so that a callback that stops the timers does not destroy itself while it runs.
    const std::function<void()> tick = self->timers_[wParam - 1];
    tick();
    return 0;
}
