#include "tools/SnapshotCommand.h"
#include "tools/BundleLocation.h"
#include "tools/PngFile.h"
#include "tools/RenderSettings.h"

#include "host/AudioThread.h"
#include "host/EditorFrame.h"
#include "host/VirtualDisplay.h"

#include <chrono>
#include <optional>

namespace serivane::tools {

using namespace Steinberg;

namespace {

// The screen of a virtual display started for a snapshot; larger than any editor we open.
constexpr int screenWidth = 1280;
constexpr int screenHeight = 1024;

bool queueSettings(const host::Plugin& plugin, const SnapshotOptions& options,
                   host::ProcessDriver& driver, std::string& error) {
    if (!options.preset.empty()) {
        ParameterSetting preset;
        if (!resolvePreset(plugin, options.preset, preset, error)) return false;
        driver.parameterChanges().add(preset.id, preset.normalized);
        if (!driver.flush()) {
            error = "the plug-in failed to load the preset";
            return false;
        }
    }
    for (const auto& [name, value] : options.settings) {
        ParameterSetting setting;
        if (!resolveSetting(plugin, name, value, setting, error)) return false;
        if (!driver.parameterChanges().add(setting.id, setting.normalized)) {
            error = "too many parameter settings";
            return false;
        }
    }
    if (!driver.flush()) {
        error = "the plug-in failed to take the settings";
        return false;
    }
    return true;
}

// Opens the editor while audio plays on its own thread, waits, and reads the window back.
bool photograph(host::Plugin& plugin, const SnapshotOptions& options, host::WindowImage& image,
                std::string& error) {
    host::ProcessDriver driver(plugin, {48000.0, 512, Vst::kSample32, Vst::kRealtime});
    if (!driver.start(error)) return false;
    driver.transport().setPlaying(true);
    if (!queueSettings(plugin, options, driver, error)) return false;
    IPtr<host::EditorFrame> frame = host::EditorFrame::create(error);
    if (!frame) return false;
    host::AudioThread audio(driver);
    audio.start();
    bool opened = frame->open(plugin.controller(), error);
    if (opened) {
        frame->loop().runFor(
            std::chrono::milliseconds(static_cast<long long>(options.seconds * 1000.0 + 0.5)));
        if (!frame->capture(image)) {
            error = "cannot read the editor window's pixels";
            opened = false;
        }
        frame->close();
    }
    audio.stop();
    if (opened && audio.failed()) {
        error = "the plug-in failed to process audio";
        return false;
    }
    return opened;
}

} // namespace

int runSnapshot(const SnapshotOptions& options, const Console& console) {
    std::string error;
    host::VirtualDisplay display;
    if (!host::displayReachable() && !display.start(screenWidth, screenHeight, error)) {
        console.err << "serivane: no X display and " << error << '\n';
        return exitFailure;
    }
    std::string bundle = options.bundle.empty() ? defaultBundlePath() : options.bundle;
    std::shared_ptr<host::Module> module = host::Module::load(bundle, error);
    std::unique_ptr<host::Plugin> plugin = module ? host::Plugin::create(module, error) : nullptr;
    host::WindowImage image;
    if (!plugin || !photograph(*plugin, options, image, error) ||
        !writePng(options.output, image.width, image.height, image.pixels, error)) {
        console.err << "serivane: " << error << '\n';
        return exitFailure;
    }
    console.out << "Wrote the editor (" << image.width << " x " << image.height << ") to "
                << options.output << "\n";
    return exitOk;
}

} // namespace serivane::tools
