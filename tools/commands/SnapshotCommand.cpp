#include "tools/commands/SnapshotCommand.h"
#include "tools/plugin/BundleLocation.h"
#include "tools/report/NumberText.h"
#include "tools/report/PngFile.h"

#include "host/Plugin.h"
#include "host/WindowImage.h"

#include <filesystem>

namespace serivane::tools {

namespace {

// "X,Y" in editor pixels.
EditorClick parseClick(const std::string& option, const std::string& text, bool right) {
    const auto comma = text.find(',');
    std::optional<long long> x, y;
    if (comma != std::string::npos) {
        x = parseInteger(trim(std::string_view(text).substr(0, comma)));
        y = parseInteger(trim(std::string_view(text).substr(comma + 1)));
    }
    if (!x || !y || *x < 0 || *y < 0 || *x >= maxEditorPixels || *y >= maxEditorPixels)
        throw UsageError(option + " takes \"X,Y\" in the editor's pixels, not \"" + text + "\"");
    return {static_cast<int>(*x), static_cast<int>(*y), right};
}

} // namespace

std::string_view SnapshotCommand::usage() const {
    return R"(Usage: serivane snapshot [OPTIONS] OUT.png

Opens the instrument's editor in a window of our own host, as a DAW does,
lets audio play for a while so that moving parts move, and writes the
window's pixels to OUT.png. On Linux it uses the X server named by $DISPLAY;
without one it starts a virtual X server (Xvfb) for the snapshot and stops it
again.

Options:
  --preset NAME|SLOT     start from a factory preset, by slot number, by name
                         or by a part of the name that fits one preset only;
                         repeatable, applied in order (partial ones combine)
  --set "NAME=VALUE"     set a parameter, in its own units or by its display
                         text; repeatable, applied after the presets
  --seconds S            how long audio runs before the picture is taken
                         (default 1)
  --stopped              keep the host's transport stopped, so that nothing
                         moves and the same settings give the same picture
  --scale F              open the editor at a content scale of 1, 1.25, 1.5,
                         1.75, 2, 2.5 or 3, as a host on a high-density
                         screen does (default: none given, 600 x 475)
  --click X,Y            click into the editor at (X, Y) of its pixels once
                         it shows; repeatable, in order
  --right-click X,Y      the same with the right button (opens the list of
                         choices of an enumerated control)
  --bundle PATH          the .vst3 bundle folder or the library inside it
  -h, --help             show this help
)";
}

void SnapshotCommand::define(CLI::App& app) {
    addBundle(app, options_.bundle);
    addPresets(app, options_.presets);
    addSettings(app, options_.settings);
    addSeconds(app, options_.seconds, maxSnapshotSeconds);
    addSwitch(app, "--stopped", options_.stopped);
    addScale(app, options_.scale);
    for (bool right : {false, true}) {
        std::string option = right ? "--right-click" : "--click";
        addRepeatable(app, option, [this, option, right](const std::string& text) {
            options_.clicks.push_back(parseClick(option, text, right));
        });
    }
    addOutput(app, options_.output);
}

void SnapshotCommand::check() {
    if (!equalsIgnoringCase(std::filesystem::path(options_.output).extension().string(), ".png"))
        throw UsageError("snapshot needs an output file ending in .png");
}

std::string SnapshotCommand::refuse(const std::string& word) const {
    return refuseForOutputCommand(name(), options_.output, word);
}

int SnapshotCommand::run(const Console& console) {
    std::string error;
    std::string bundle = options_.bundle.empty() ? defaultBundlePath() : options_.bundle;
    std::shared_ptr<host::Module> module = host::Module::load(bundle, error);
    std::unique_ptr<host::Plugin> plugin = module ? host::Plugin::create(module, error) : nullptr;
    host::WindowImage image;
    if (!plugin || !photographEditor(*plugin, options_, image, error) ||
        !writePng(options_.output, image.width, image.height, image.pixels, error)) {
        console.err << "serivane: " << error << '\n';
        return exitFailure;
    }
    console.out << "Wrote the editor (" << image.width << " x " << image.height << ") to "
                << options_.output << "\n";
    return exitOk;
}

} // namespace serivane::tools
