#pragma once

#include "tools/Command.h"
#include "tools/Options.h"
#include "tools/commands/SessionOptions.h"

#include <string>
#include <vector>

namespace serivane::tools {

struct EditOptions {
    std::string bundle;
    std::vector<std::string> presets; // applied in order
    std::vector<Setting> settings;
    std::string device;     // empty: the default output
    SessionOptions session; // only its noise bed
    double scale = 0.0;     // the editor's content scale; 0: none given
};

// `serivane edit`: opens the editor in a window of our host, with the transport running, until
// the window is closed or a signal asks the tool to stop.
class EditCommand : public Command {
public:
    std::string_view name() const override { return "edit"; }
    std::string_view summary() const override {
        return "open the editor in a window to play with the instrument";
    }
    std::string_view usage() const override;
    void define(CLI::App& app) override;
    void check() override { checkNoiseOptions(options_.session, false); }
    int run(const Console& console) override;

    const EditOptions& options() const { return options_; }

private:
    EditOptions options_;
};

} // namespace serivane::tools
