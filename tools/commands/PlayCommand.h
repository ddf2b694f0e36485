#pragma once

#include "tools/Command.h"
#include "tools/Options.h"
#include "tools/commands/SessionOptions.h"

#include <string>
#include <vector>

namespace serivane::tools {

struct PlayOptions {
    std::string bundle;
    std::vector<std::string> presets; // applied in order
    std::vector<Setting> settings;
    std::string program;  // a program file or the name of a built-in program
    double seconds = 0.0; // 0: until stopped, or with a program its length
    bool secondsGiven = false;
    std::string device; // empty: the default output
    SessionOptions session;
};

// `serivane play`: plays the instrument live on a sound device, with a live line on a terminal,
// until the length has played or a signal asks the tool to stop; both end with a short
// fade-out. A program moves the instrument as it plays, sent on the audio callback as render
// sends it.
class PlayCommand : public Command {
public:
    std::string_view name() const override { return "play"; }
    std::string_view summary() const override {
        return "play the instrument live on a sound device";
    }
    std::string_view usage() const override;
    void define(CLI::App& app) override;
    void check() override;
    int run(const Console& console) override;

    const PlayOptions& options() const { return options_; }

private:
    PlayOptions options_;
    CLI::Option* seconds_ = nullptr;
};

} // namespace serivane::tools
