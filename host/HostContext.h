#pragma once

#include "public.sdk/source/vst/hosting/hostclasses.h"

#include <memory>

namespace serivane::host {

class EventLoop;

// The host application a plug-in sees in initialize: it answers our name, creates the messages
// and attribute lists that connection points exchange, and on Linux offers the plug-in the
// host's user-interface run loop, as DAWs do, for timers that run while the plug-in lives.
class HostContext : public Steinberg::Vst::HostApplication {
public:
    static constexpr const char* name = "Serivane Host";

    HostContext();
    ~HostContext() override;

    Steinberg::tresult PLUGIN_API getName(Steinberg::Vst::String128 text) override;
    Steinberg::tresult PLUGIN_API queryInterface(const Steinberg::TUID iid, void** obj) override;

    // The loop behind the offered run loop, which the caller runs on the thread that made the
    // plug-in; null where none is offered.
    EventLoop* loop();

private:
    class RunLoop;

    std::unique_ptr<RunLoop> runLoop_;
};

} // namespace serivane::host
