#pragma once

#include "host/Plugin.h"
#include "host/ProcessDriver.h"

#include <string>
#include <utility>
#include <vector>

namespace serivane::tools {

// Loads each preset in turn in a block of its own, so that a partial one adds to those before it
// and all are in place before any setting applies, then the "name=value" settings in another; false
// with `error` set when a name or value is not the plug-in's or the plug-in refuses a block.
bool applyPresetAndSettings(const host::Plugin& plugin, host::ProcessDriver& driver,
                            const std::vector<std::string>& presets,
                            const std::vector<std::pair<std::string, std::string>>& settings,
                            std::string& error);

} // namespace serivane::tools
