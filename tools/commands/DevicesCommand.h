#pragma once

#include "tools/Command.h"

namespace serivane::tools {

// `serivane devices`: lists the sound system's output devices.
class DevicesCommand : public Command {
public:
    std::string_view name() const override { return "devices"; }
    std::string_view summary() const override { return "list the sound devices that play can use"; }
    std::string_view usage() const override;
    void define(CLI::App&) override {}
    int run(const Console& console) override;
};

} // namespace serivane::tools
