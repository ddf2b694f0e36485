#pragma once

#include "tools/Command.h"
#include "tools/Options.h"

#include <string>
#include <vector>

namespace serivane::host {
class Plugin;
struct WindowImage;
} // namespace serivane::host

namespace serivane::tools {

// A snapshot lets audio run at real time, so its wait is kept short.
inline constexpr double maxSnapshotSeconds = 600.0;
// Clicks land inside an editor of at most this size.
inline constexpr int maxEditorPixels = 4096;

// A click into the editor, in its own pixels.
struct EditorClick {
    int x = 0;
    int y = 0;
    bool right = false;
};

struct SnapshotOptions {
    std::string bundle;
    std::string output;
    std::vector<std::string> presets; // applied in order
    std::vector<Setting> settings;
    double seconds = 1.0;
    // Keeps the host's transport stopped, so that nothing moves and the picture repeats.
    bool stopped = false;
    std::vector<EditorClick> clicks;
    double scale = 0.0; // the editor's content scale; 0: none given
};

// Opens the editor in a window of this platform while audio plays on its own thread, clicks,
// waits, and reads the window's pixels.
bool photographEditor(host::Plugin& plugin, const SnapshotOptions& options,
                      host::WindowImage& image, std::string& error);

// `serivane snapshot`: the editor in a window of our host, saved as a picture.
class SnapshotCommand : public Command {
public:
    std::string_view name() const override { return "snapshot"; }
    std::string_view summary() const override {
        return "open the editor and save a picture of it as PNG";
    }
    std::string_view usage() const override;
    void define(CLI::App& app) override;
    void check() override;
    std::string refuse(const std::string& word) const override;
    int run(const Console& console) override;

    const SnapshotOptions& options() const { return options_; }

private:
    SnapshotOptions options_;
};

} // namespace serivane::tools
