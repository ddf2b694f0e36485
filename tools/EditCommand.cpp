#include "tools/EditCommand.h"
#include "tools/BundleLocation.h"
#include "tools/Interruption.h"
#include "tools/LiveEditor.h"

#include "host/VirtualDisplay.h"

#include <chrono>

namespace serivane::tools {

namespace {

// How often the loop looks for a signal when the window is quiet.
constexpr auto signalCheck = std::chrono::milliseconds(100);

} // namespace

int runEdit(const EditOptions& options, const Console& console) {
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
    LiveEditorOptions live{options.preset, options.settings, true, LiveSound::Device,
                           options.device};
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
    while (!frame.closeRequested() && interruption.caught() == 0)
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
