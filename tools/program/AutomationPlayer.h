#pragma once

#include "host/ProcessDriver.h"
#include "tools/program/Automation.h"

namespace serivane::tools {

// Hands an automation to a plug-in block by block, splitting the blocks where changes fall, so
// that every change reaches the plug-in at the start of a block on its own frame whatever the
// block size. Allocates only when it is made.
class AutomationPlayer {
public:
    explicit AutomationPlayer(const Automation& automation) : cursor_(automation) {}

    // Queues on the driver the changes due at `position` (a preset goes out at once in a block
    // of no frames) and sets `frames` to the length of the next block: at most `limit`, ending
    // where the next change falls. False when the plug-in refused a block or a queue was full.
    bool prepare(host::ProcessDriver& driver, std::int64_t position, Steinberg::int32 limit,
                 Steinberg::int32& frames);

    // Where the next change falls; -1 when none is left.
    std::int64_t nextFrame() const { return cursor_.frame(); }

private:
    ChangeCursor cursor_;
};

} // namespace serivane::tools
