#include "host/HostContext.h"
#include "platform/win32/MessagePump.h"

namespace serivane::host {

// Windows plug-ins take their timers from the thread's message loop: no run loop is offered.
class HostContext::RunLoop {};

HostContext::HostContext() = default;

HostContext::~HostContext() = default;

Steinberg::tresult PLUGIN_API HostContext::queryInterface(const Steinberg::TUID iid, void** obj) {
    return HostApplication::queryInterface(iid, obj);
}

void HostContext::runFor(std::chrono::milliseconds duration) {
    PumpMessages(duration);
}

EventLoop* HostContext::loop() {
    return nullptr;
}

} // namespace serivane::host
