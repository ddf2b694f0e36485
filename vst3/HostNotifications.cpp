#include "vst3/HostNotifications.h"

using Steinberg::int32;

void HostNotifications::FlagParamValues() {
    paramValues_.store(true, std::memory_order_release);
}

void HostNotifications::FlagProgramName(int32 index) {
    int32 pending = program_.load(std::memory_order_relaxed);
    for (;;) {
        const int32 wanted =
            pending == kNone || pending == index ? index : Steinberg::Vst::kAllProgramInvalid;
        if (program_.compare_exchange_weak(pending, wanted, std::memory_order_release,
                                           std::memory_order_relaxed))
            return;
    }
}

HostNotifications::Pending HostNotifications::Take() {
    Pending taken;
    taken.paramValues = paramValues_.exchange(false, std::memory_order_acquire);
    const int32 program = program_.exchange(kNone, std::memory_order_acquire);
    taken.programNames = program != kNone;
    if (taken.programNames) taken.program = program;
    return taken;
}
