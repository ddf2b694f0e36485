#pragma once

#include "tools/program/Automation.h"

namespace serivane::tools {

// The changes of a render: the start settings, then the steps of the program named by
// `program` (a file or a built-in program) when it is not empty. Without `secondsGiven`,
// `seconds` becomes the program's length.
std::optional<Automation> planRender(const std::shared_ptr<host::Module>& module,
                                     const StartSettings& start, const std::string& program,
                                     double sampleRate, bool secondsGiven, double& seconds,
                                     std::string& error);

} // namespace serivane::tools
