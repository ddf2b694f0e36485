#pragma once

#include "tools/Console.h"

#include <string>
#include <vector>

namespace serivane::tools {

// Runs the tool for the words after the program name; answers the exit code.
int runCommandLine(const std::vector<std::string>& words, const Console& console);

} // namespace serivane::tools
