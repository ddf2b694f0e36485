#pragma once

#include "tools/Command.h"
#include "tools/report/Console.h"

#include <memory>
#include <string>
#include <vector>

namespace serivane::tools {

// What the words after the program name ask for.
struct ParsedCommandLine {
    enum class Request { Run, Help, Version };
    Request request = Request::Help;
    // The command to run or to show the help of; none for the general help and the version.
    std::unique_ptr<Command> command;
};

// Reads the words after the program name; throws UsageError on misuse.
ParsedCommandLine parseCommandLine(const std::vector<std::string>& words);

// Runs the tool for the words after the program name; answers the exit code.
int runCommandLine(const std::vector<std::string>& words, const Console& console);

// The text of "serivane --help".
std::string generalUsage();
// The text of "serivane --version".
std::string versionText();

} // namespace serivane::tools
