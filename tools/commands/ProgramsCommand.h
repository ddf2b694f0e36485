#pragma once

#include "tools/Command.h"

#include <string>

namespace serivane::tools {

// `serivane programs [NAME]`: lists the built-in programs, or prints one so that it can be
// copied and changed.
class ProgramsCommand : public Command {
public:
    std::string_view name() const override { return "programs"; }
    std::string_view summary() const override {
        return "list the built-in session programs, or print one";
    }
    std::string_view usage() const override;
    void define(CLI::App& app) override;
    int run(const Console& console) override;

private:
    std::string program_; // empty: list them all
};

} // namespace serivane::tools
