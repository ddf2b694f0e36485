#pragma once

#include "tools/Command.h"

#include <memory>
#include <vector>

namespace serivane::tools {

// Every command of the tool, in the order "serivane --help" lists them.
std::vector<std::unique_ptr<Command>> allCommands();

} // namespace serivane::tools
