#pragma once

#include <windows.h>

// Per-monitor DPI where the system offers it: the calls are looked up at run time, so that
// older systems and Wine without them still load the library and see every window at 96 DPI.
class PerMonitorDpiScope {
public:
    // Windows the thread creates while the scope lives are per-monitor DPI aware.
    PerMonitorDpiScope();
    ~PerMonitorDpiScope();
    PerMonitorDpiScope(const PerMonitorDpiScope&) = delete;
    PerMonitorDpiScope& operator=(const PerMonitorDpiScope&) = delete;

private:
    void* previous_ = nullptr;
};

// The window's DPI as a multiple of 96; 1 where the system cannot say.
double WindowDpiScale(HWND window);
