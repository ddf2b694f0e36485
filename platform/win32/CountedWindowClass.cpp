#include "platform/win32/CountedWindowClass.h"

#include "platform/ModuleHandle.h"

HINSTANCE ModuleInstance() {
    void* module = ModuleHandle();
    return module ? static_cast<HINSTANCE>(module) : GetModuleHandleW(nullptr);
}

bool CountedWindowClass::Acquire(WNDPROC procedure) {
    std::lock_guard lock(mutex_);
    if (open_++ > 0) return true;
    WNDCLASSW windowClass{};
    windowClass.style = style_;
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = ModuleInstance();
    windowClass.hCursor = cursor_ ? LoadCursorW(nullptr, cursor_) : nullptr;
    windowClass.lpszClassName = name_;
    if (RegisterClassW(&windowClass) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS)
        return true;
    --open_;
    return false;
}

void CountedWindowClass::Release() {
    std::lock_guard lock(mutex_);
    if (open_ > 0 && --open_ == 0) UnregisterClassW(name_, ModuleInstance());
}
