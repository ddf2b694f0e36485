#include "platform/win32/MessageWindowLoop.h"
#include "vst3/HostRunLoop.h"

// A Windows editor window receives its messages and timer from the thread's message loop.
std::unique_ptr<IRunLoopLink> HostRunLoopOf(Steinberg::IPlugFrame*) {
    return nullptr;
}

// The controller's timer comes through the same loop, on a window of its own.
std::unique_ptr<IRunLoopLink> ControllerRunLoop(Steinberg::FUnknown*) {
    return std::make_unique<MessageWindowLoop>();
}
