#pragma once

#include <string>
#include <vector>

namespace serivane::tools {

// The words after the program's name on its command line, in UTF-8.
std::vector<std::string> commandWords(int argc, char** argv);

} // namespace serivane::tools
