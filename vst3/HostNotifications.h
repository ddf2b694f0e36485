#pragma once

#include "pluginterfaces/vst/ivstunits.h"

#include <atomic>

// Changes the host did not make and has to hear of: parameter values that moved and program
// names that changed. Any thread may flag them (without allocating or locking); the UI thread
// takes them and passes them on to the host.
class HostNotifications {
public:
    struct Pending {
        bool paramValues = false;
        bool programNames = false;
        Steinberg::int32 program = Steinberg::Vst::kAllProgramInvalid; // one program, or all
    };

    void FlagParamValues();
    // Different programs renamed before the next delivery become "all programs".
    void FlagProgramName(Steinberg::int32 index);
    // Hands over what is pending and clears it.
    Pending Take();

private:
    static constexpr Steinberg::int32 kNone = -2;

    std::atomic<bool> paramValues_{false};
    std::atomic<Steinberg::int32> program_{kNone};
};
