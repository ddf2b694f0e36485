#pragma once

#include "tools/Console.h"
#include <string>

namespace serivane::tools {

// Lists the built-in programs, or prints one so that it can be copied and changed.
int runPrograms(const std::string& name, const Console& console);

} // namespace serivane::tools
