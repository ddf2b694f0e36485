#pragma once

#include "tools/report/Console.h"

#include <CLI/CLI.hpp>
#include <stdexcept>
#include <string>
#include <string_view>

namespace serivane::tools {

// Misuse of the command line, with the one-line message the user sees.
class UsageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// One command of the tool ("render", "info", ...): its options, its help and what it does.
// A new command is a class like this in a file of its own, registered in CommandRegistry.cpp.
class Command {
public:
    virtual ~Command() = default;

    virtual std::string_view name() const = 0;
    // One line in the list of commands of "serivane --help".
    virtual std::string_view summary() const = 0;
    // The text of "serivane NAME --help".
    virtual std::string_view usage() const = 0;

    // Declares the options on the command's part of the command line (tools/Options.h has the
    // common ones); a value that is refused throws UsageError as it is read.
    virtual void define(CLI::App& app) = 0;
    // Checks the options together once all are read, throwing UsageError; skipped for help.
    virtual void check() {}
    // The message for a word the command does not take.
    virtual std::string refuse(const std::string& word) const {
        return std::string(name()) + " does not take \"" + word + "\"";
    }

    // Does the work; answers the exit code.
    virtual int run(const Console& console) = 0;
};

} // namespace serivane::tools
