#include "tools/program/AutomationPlayer.h"

#include <algorithm>

namespace serivane::tools {

using namespace Steinberg;

bool AutomationPlayer::prepare(host::ProcessDriver& driver, std::int64_t position, int32 limit,
                               int32& frames) {
    const std::vector<ScheduledChange>& changes = automation_.changes();
    for (; next_ < changes.size() && changes[next_].frame <= position; ++next_) {
        const ScheduledChange& change = changes[next_];
        if (change.kind == ChangeKind::Follows) continue;
        if (!driver.parameterChanges().add(change.setting.id, change.setting.normalized))
            return false;
        // The plug-in loads a preset after it applied the other values of the block, so what
        // follows the preset in the program waits for a block of its own.
        if (change.kind == ChangeKind::Preset && !driver.flush()) return false;
    }
    frames = limit;
    if (std::int64_t upcoming = nextFrame(); upcoming >= 0)
        frames = static_cast<int32>(std::min<std::int64_t>(limit, upcoming - position));
    return true;
}

std::int64_t AutomationPlayer::nextFrame() const {
    const std::vector<ScheduledChange>& changes = automation_.changes();
    return next_ < changes.size() ? changes[next_].frame : -1;
}

} // namespace serivane::tools
