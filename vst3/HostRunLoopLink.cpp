#include "vst3/HostRunLoopLink.h"
#include "vst3/HostRunLoop.h"

using namespace Steinberg;

// One callback registered with the host, as descriptor handler or timer. A host that calls it
// after it was unregistered reaches nothing.
class HostRunLoopLink::Handler : public Linux::IEventHandler, public Linux::ITimerHandler {
public:
    explicit Handler(std::function<void()> callback) : callback_(std::move(callback)) {
        FUNKNOWN_CTOR
    }
    virtual ~Handler() { FUNKNOWN_DTOR }

    void PLUGIN_API onFDIsSet(Linux::FileDescriptor) override { Call(); }
    void PLUGIN_API onTimer() override { Call(); }
    void Disarm() { callback_ = nullptr; }

    DECLARE_FUNKNOWN_METHODS

private:
    void Call() {
        if (callback_) callback_();
    }

    std::function<void()> callback_;
};

IMPLEMENT_REFCOUNT(HostRunLoopLink::Handler)

tresult PLUGIN_API HostRunLoopLink::Handler::queryInterface(const TUID iid, void** obj) {
    QUERY_INTERFACE(iid, obj, FUnknown::iid, Linux::IEventHandler)
    QUERY_INTERFACE(iid, obj, Linux::IEventHandler::iid, Linux::IEventHandler)
    QUERY_INTERFACE(iid, obj, Linux::ITimerHandler::iid, Linux::ITimerHandler)
    *obj = nullptr;
    return kNoInterface;
}

HostRunLoopLink::HostRunLoopLink(IPtr<Linux::IRunLoop> loop) : loop_(std::move(loop)) {}

HostRunLoopLink::~HostRunLoopLink() {
    StopAll();
}

std::unique_ptr<HostRunLoopLink> HostRunLoopLink::OfferedBy(FUnknown* hostObject) {
    if (!hostObject) return nullptr;
    FUnknownPtr<Linux::IRunLoop> loop(hostObject);
    if (!loop) return nullptr;
    return std::make_unique<HostRunLoopLink>(IPtr<Linux::IRunLoop>(loop.get()));
}

std::unique_ptr<IRunLoopLink> HostRunLoopOf(IPlugFrame* frame) {
    return HostRunLoopLink::OfferedBy(frame);
}

std::unique_ptr<IRunLoopLink> ControllerRunLoop(FUnknown* hostContext) {
    return HostRunLoopLink::OfferedBy(hostContext);
}

bool HostRunLoopLink::Watch(int fd, std::function<void()> onReadable) {
    auto handler = owned(new Handler(std::move(onReadable)));
    if (loop_->registerEventHandler(handler, fd) != kResultTrue) return false;
    watches_.push_back(handler);
    return true;
}

bool HostRunLoopLink::StartTimer(int intervalMs, std::function<void()> onTick) {
    if (intervalMs <= 0) return false;
    auto handler = owned(new Handler(std::move(onTick)));
    if (loop_->registerTimer(handler, static_cast<Linux::TimerInterval>(intervalMs)) != kResultTrue)
        return false;
    timers_.push_back(handler);
    return true;
}

void HostRunLoopLink::StopAll() {
    for (IPtr<Handler>& handler : watches_) {
        handler->Disarm();
        loop_->unregisterEventHandler(handler);
    }
    for (IPtr<Handler>& handler : timers_) {
        handler->Disarm();
        loop_->unregisterTimer(handler);
    }
    watches_.clear();
    timers_.clear();
}
