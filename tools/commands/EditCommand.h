#pragma once

#include "tools/Command.h"
#include "tools/Options.h"

#include <string>
#include <vector>

namespace serivane::tools {

struct EditOptions {
    std::string bundle;
    std::string preset;
    std::vector<Setting> settings;
    std::string device; // empty: the default output
    double scale = 0.0; // the editor's content scale; 0: none given
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
    int run(const Console& console) override;

    const EditOptions& options() const { return options_; }

private:
    EditOptions options_;
};

} // namespace serivane::tools
