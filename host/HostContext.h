#pragma once

#include "public.sdk/source/vst/hosting/hostclasses.h"

#include <chrono>
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

    // Runs the host's user-interface loop on the calling thread, the one that made the plug-in,
    // for a while: the offered run loop on Linux, the thread's window messages on Windows.
    void runFor(std::chrono::milliseconds duration);
    // The loop behind the offered run loop; null where none is offered.
    EventLoop* loop();

private:
    class RunLoop;

    std::unique_ptr<RunLoop> runLoop_;
};

} // namespace serivane::host
