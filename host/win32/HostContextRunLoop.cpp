#include "host/HostContext.h"

namespace serivane::host {

// Windows plug-ins take their timers from the thread's message loop: no run loop is offered.
class HostContext::RunLoop {};

HostContext::HostContext() = default;

HostContext::~HostContext() = default;

Steinberg::tresult PLUGIN_API HostContext::queryInterface(const Steinberg::TUID iid, void** obj) {
    return HostApplication::queryInterface(iid, obj);
}

EventLoop* HostContext::loop() {
    return nullptr;
}

} // namespace serivane::host
