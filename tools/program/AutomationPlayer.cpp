#include "tools/program/AutomationPlayer.h"

#include <algorithm>

namespace serivane::tools {

using namespace Steinberg;

bool AutomationPlayer::prepare(host::ProcessDriver& driver, std::int64_t position, int32 limit,
                               int32& frames) {
    for (; cursor_.frame() >= 0 && cursor_.frame() <= position; cursor_.advance()) {
        const ScheduledChange& change = cursor_.change();
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

} // namespace serivane::tools
