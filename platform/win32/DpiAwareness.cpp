#include "platform/win32/DpiAwareness.h"

namespace {

using SetContextCall = void*(WINAPI*)(void*);
using GetDpiCall = UINT(WINAPI*)(HWND);

// The version 2 context, and the first one where the system predates it.
void* const kPerMonitorAwareV2 = reinterpret_cast<void*>(static_cast<INT_PTR>(-4));
void* const kPerMonitorAware = reinterpret_cast<void*>(static_cast<INT_PTR>(-3));
constexpr double kDefaultDpi = 96.0;

template <typename Call> Call UserCall(const char* name) {
    HMODULE user = GetModuleHandleW(L"user32.dll");
    FARPROC found = user ? GetProcAddress(user, name) : nullptr;
    return reinterpret_cast<Call>(reinterpret_cast<void (*)()>(found));
}

SetContextCall SetContext() {
    static const auto call = UserCall<SetContextCall>("SetThreadDpiAwarenessContext");
    return call;
}

} // namespace

PerMonitorDpiScope::PerMonitorDpiScope() {
    SetContextCall set = SetContext();
    if (!set) return;
    previous_ = set(kPerMonitorAwareV2);
    if (!previous_) previous_ = set(kPerMonitorAware);
}

PerMonitorDpiScope::~PerMonitorDpiScope() {
    if (previous_) SetContext()(previous_);
}

double WindowDpiScale(HWND window) {
    static const auto getDpi = UserCall<GetDpiCall>("GetDpiForWindow");
    const UINT dpi = getDpi && window ? getDpi(window) : 0;
    return dpi ? dpi / kDefaultDpi : 1.0;
}
