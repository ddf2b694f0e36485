#pragma once

#include <windows.h>

#include <mutex>

// The instance the module's windows are made with: the plug-in library's, or the program's when
// the code is linked into one.
HINSTANCE ModuleInstance();

// A window class registered while windows of it are open in the process: the first Acquire
// registers it, the last Release unregisters it. Both may come from any thread.
class CountedWindowClass {
public:
    // The class's style bits and system cursor (an IDC_ name, or null for none).
    CountedWindowClass(const wchar_t* name, UINT style, const wchar_t* cursor)
        : name_(name), style_(style), cursor_(cursor) {}

    // False when the class cannot be registered; then there is nothing to release.
    bool Acquire(WNDPROC procedure);
    void Release();
    const wchar_t* Name() const { return name_; }

private:
    const wchar_t* name_;
    UINT style_;
    const wchar_t* cursor_;
    std::mutex mutex_;
    int open_ = 0;
};
