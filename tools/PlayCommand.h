#pragma once

#include "tools/Console.h"
#include "tools/PlayOptions.h"

namespace serivane::tools {

// Plays the instrument live on a sound device, with a live line on a terminal, until the
// length has played or a signal asks the tool to stop; both end with a short fade-out.
int runPlay(const PlayOptions& options, const Console& console);

// Lists the sound system's output devices.
int runDevices(const DevicesOptions& options, const Console& console);

} // namespace serivane::tools
