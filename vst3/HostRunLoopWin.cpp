#include "vst3/HostRunLoop.h"

// A Windows editor window receives its messages and timer from the thread's message loop.
std::unique_ptr<IRunLoopLink> HostRunLoopOf(Steinberg::IPlugFrame*) {
    return nullptr;
}
