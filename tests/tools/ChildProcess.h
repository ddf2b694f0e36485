#pragma once

#include <filesystem>
#include <string>
#include <sys/types.h>
#include <vector>

namespace serivane::tools {

// Starts the built tool with the words after its name, its output and errors going to `log`, in
// this process's environment. The child starts with the signals at their default actions,
// whatever the test runner ignores. -1 when it cannot be started. With `errors` (a descriptor,
// a terminal say) its errors go there instead.
pid_t startTool(std::vector<std::string> words, const std::filesystem::path& log, int errors = -1);

// The file's contents; empty when it cannot be read.
std::string contents(const std::filesystem::path& path);

} // namespace serivane::tools
