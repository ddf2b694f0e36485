#pragma once

#include "host/Plugin.h"
#include "host/ProcessDriver.h"

#include <string>
#include <utility>
#include <vector>

namespace serivane::tools {

// Loads the preset (none when empty) in a block of its own, so that it is in place before any
// setting applies, then the "name=value" settings in another; false with `error` set when a
// name or value is not the plug-in's or the plug-in refuses a block.
bool applyPresetAndSettings(const host::Plugin& plugin, host::ProcessDriver& driver,
                            const std::string& preset,
                            const std::vector<std::pair<std::string, std::string>>& settings,
                            std::string& error);

} // namespace serivane::tools
