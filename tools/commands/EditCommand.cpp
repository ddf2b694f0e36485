#include "tools/commands/EditCommand.h"
#include "tools/commands/Interruption.h"
#include "tools/commands/LiveEditor.h"
#include "tools/plugin/BundleLocation.h"

#include "host/VirtualDisplay.h"

#include <chrono>

namespace serivane::tools {

namespace {

// How often the loop looks for a signal or a stopped sound device when the window is quiet.
constexpr auto signalCheck = std::chrono::milliseconds(100);

} // namespace

std::string_view EditCommand::usage() const {
    return R"(Usage: serivane edit [OPTIONS]

Opens the instrument's editor in a window of our own host on the X server
named by $DISPLAY, with the host's transport running, until the window is
closed (or Ctrl-C). The sound plays on the output device, as with "play";
on a machine without one the editor runs silently.

Options:
  --preset NAME|SLOT     start from a factory preset, by slot number, by name
                         or by a part of the name that fits one preset only;
                         repeatable, applied in order (partial ones combine)
  --set "NAME=VALUE"     set a parameter, in its own units or by its display
                         text; repeatable, applied after the presets
  --device NAME|NUMBER   the output device (default: the system's default
                         output); "serivane devices" lists them
  --noise white|pink|brown
                         lay a noise under the sound, its own in each ear
  --noise-level DB       the noise's RMS level, from -120 to 0 dB (default -20)
  --seed N               the noise generator's seed, 0 to 4294967295 (default
                         1)
  --scale F              open the editor at a content scale of 1, 1.25, 1.5,
                         1.75, 2, 2.5 or 3, as a host on a high-density
                         screen does (default: none given, 600 x 475)
  --bundle PATH          the .vst3 bundle folder or the library inside it
  -h, --help             show this help
)";
}

void EditCommand::define(CLI::App& app) {
    addBundle(app, options_.bundle);
    addPresets(app, options_.presets);
    addSettings(app, options_.settings);
    addText(app, "--device", options_.device);
    addNoiseOptions(app, options_.session);
    addScale(app, options_.scale);
}

int EditCommand::run(const Console& console) {
    const EditOptions& options = options_;
    std::string error;
    if (!host::displayReachable()) {
        console.err << "serivane: edit needs an X display; none is reachable through $DISPLAY\n";
        return exitFailure;
    }
    std::string bundle = options.bundle.empty() ? defaultBundlePath() : options.bundle;
    std::shared_ptr<host::Module> module = host::Module::load(bundle, error);
    std::unique_ptr<host::Plugin> plugin = module ? host::Plugin::create(module, error) : nullptr;
    InterruptionGuard interruption;
    LiveEditor editor;
    LiveEditorOptions live{options.presets, options.settings, true,         LiveSound::Device,
                           options.device,  options.session,  options.scale};
    if (!plugin || !editor.open(*plugin, live, error)) {
        console.err << "serivane: " << error << '\n';
        return exitFailure;
    }
    if (!editor.soundNote().empty()) console.err << "Note: " << editor.soundNote() << ".\n";
    console.out << "Serivane is open with the transport running";
    if (const OutputDevice* device = editor.device())
        console.out << ", playing on \"" << device->name << "\"";
    console.out << "; close its window to quit.\n" << std::flush;
    host::EditorFrame& frame = editor.frame();
    while (!frame.closeRequested() && interruption.caught() == 0 && editor.soundFlowing())
        frame.loop().runOnce(host::EventLoop::Clock::now() + signalCheck);
    const bool processed = editor.close(error);
    if (interruption.caught() != 0) endBySignal(interruption.caught());
    if (!processed) {
        console.err << "serivane: " << error << '\n';
        return exitFailure;
    }
    return exitOk;
}

} // namespace serivane::tools
