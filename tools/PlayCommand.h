#pragma once

#include "tools/Command.h"
#include "tools/Options.h"

#include <string>
#include <vector>

namespace serivane::tools {

struct PlayOptions {
    std::string bundle;
    std::string preset;
    std::vector<Setting> settings;
    double seconds = 0.0; // 0: until stopped
    std::string device;   // empty: the default output
};

// `serivane play`: plays the instrument live on a sound device, with a live line on a terminal,
// until the length has played or a signal asks the tool to stop; both end with a short
// fade-out.
class PlayCommand : public Command {
public:
    std::string_view name() const override { return "play"; }
    std::string_view summary() const override {
        return "play the instrument live on a sound device";
    }
    std::string_view usage() const override;
    void define(CLI::App& app) override;
    int run(const Console& console) override;

    const PlayOptions& options() const { return options_; }

private:
    PlayOptions options_;
};

} // namespace serivane::tools
