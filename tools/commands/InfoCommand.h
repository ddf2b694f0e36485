#pragma once

#include "tools/Command.h"
#include "tools/plugin/InfoReport.h"

#include <string>

namespace serivane::tools {

struct InfoOptions {
    bool json = false;
    std::string bundle; // empty: the default location
    std::string preset; // empty: the whole plug-in rather than one preset
};

// `serivane info`: the plug-in as a host sees it.
class InfoCommand : public Command {
public:
    std::string_view name() const override { return "info"; }
    std::string_view summary() const override {
        return "show the plug-in's identity, buses, parameters and presets";
    }
    std::string_view usage() const override;
    void define(CLI::App& app) override;
    int run(const Console& console) override;

    const InfoOptions& options() const { return options_; }

private:
    InfoOptions options_;
};

std::string infoText(const PluginReport& report);
std::string infoJson(const PluginReport& report);

} // namespace serivane::tools
