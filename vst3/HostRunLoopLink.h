#pragma once

#include "platform/RunLoopLink.h"

#include "pluginterfaces/gui/iplugview.h"

#include <memory>
#include <vector>

// The host's Linux run loop as the editor window's or the controller's run loop: each watch and
// timer becomes a handler object registered with the host, and StopAll unregisters them all.
class HostRunLoopLink : public IRunLoopLink {
public:
    explicit HostRunLoopLink(Steinberg::IPtr<Steinberg::Linux::IRunLoop> loop);
    ~HostRunLoopLink() override;

    // The run loop a host object (its frame, its application) offers, or null when it offers
    // none.
    static std::unique_ptr<HostRunLoopLink> OfferedBy(Steinberg::FUnknown* hostObject);

    bool Watch(int fd, std::function<void()> onReadable) override;
    bool StartTimer(int intervalMs, std::function<void()> onTick) override;
    void StopAll() override;

private:
    class Handler;

    Steinberg::IPtr<Steinberg::Linux::IRunLoop> loop_;
    std::vector<Steinberg::IPtr<Handler>> watches_;
    std::vector<Steinberg::IPtr<Handler>> timers_;
};
