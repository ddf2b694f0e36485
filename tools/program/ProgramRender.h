#pragma once

#include "tools/Options.h"
#include "tools/program/Automation.h"

namespace serivane::tools {

// Presets, in order, and "name=value" settings as the start of a plan.
bool resolveStart(const host::Plugin& plugin, const std::vector<std::string>& presets,
                  const std::vector<Setting>& settings, StartSettings& start, std::string& error);

// The changes of a render: the start settings, then the steps of the program named by
// `program` (a file or a built-in program) when it is not empty. `programSeconds` becomes the
// program's length (0 without one), and so does `seconds` without `secondsGiven`. Once
// `interrupted` answers true, planning stops.
std::optional<Automation> planRender(const std::shared_ptr<host::Module>& module,
                                     const StartSettings& start, const std::string& program,
                                     double sampleRate, bool secondsGiven, double& seconds,
                                     double& programSeconds, std::string& error,
                                     const std::function<bool()>& interrupted);

} // namespace serivane::tools
