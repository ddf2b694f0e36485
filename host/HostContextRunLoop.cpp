#include "host/EventLoop.h"
#include "host/HostContext.h"

#include <chrono>

namespace serivane::host {

using namespace Steinberg;

// The run loop a plug-in reaches through the host context. It belongs to the context and counts
// no references, like the SDK's host application.
class HostContext::RunLoop final : public Linux::IRunLoop {
public:
    tresult PLUGIN_API registerEventHandler(Linux::IEventHandler* handler,
                                            Linux::FileDescriptor fd) override {
        return loop.addHandler(handler, fd) ? kResultTrue : kInvalidArgument;
    }
    tresult PLUGIN_API unregisterEventHandler(Linux::IEventHandler* handler) override {
        return loop.removeHandler(handler) ? kResultTrue : kInvalidArgument;
    }
    tresult PLUGIN_API registerTimer(Linux::ITimerHandler* handler,
                                     Linux::TimerInterval milliseconds) override {
        auto interval = std::chrono::milliseconds(static_cast<long long>(milliseconds));
        return loop.addTimer(handler, interval) ? kResultTrue : kInvalidArgument;
    }
    tresult PLUGIN_API unregisterTimer(Linux::ITimerHandler* handler) override {
        return loop.removeTimer(handler) ? kResultTrue : kInvalidArgument;
    }
    tresult PLUGIN_API queryInterface(const TUID iid, void** obj) override {
        QUERY_INTERFACE(iid, obj, FUnknown::iid, Linux::IRunLoop)
        QUERY_INTERFACE(iid, obj, Linux::IRunLoop::iid, Linux::IRunLoop)
        *obj = nullptr;
        return kNoInterface;
    }
    uint32 PLUGIN_API addRef() override { return 1; }
    uint32 PLUGIN_API release() override { return 1; }

    EventLoop loop;
};

HostContext::HostContext() : runLoop_(std::make_unique<RunLoop>()) {}

HostContext::~HostContext() = default;

tresult PLUGIN_API HostContext::queryInterface(const TUID iid, void** obj) {
    if (FUnknownPrivate::iidEqual(iid, Linux::IRunLoop::iid)) {
        *obj = static_cast<Linux::IRunLoop*>(runLoop_.get());
        return kResultOk;
    }
    return HostApplication::queryInterface(iid, obj);
}

void HostContext::runFor(std::chrono::milliseconds duration) {
    runLoop_->loop.runFor(duration);
}

EventLoop* HostContext::loop() {
    return &runLoop_->loop;
}

} // namespace serivane::host
