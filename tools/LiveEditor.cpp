#include "tools/LiveEditor.h"
#include "tools/RenderSettings.h"

namespace serivane::tools {

using namespace Steinberg;

namespace {

// The preset goes in a block of its own so that it is loaded before any setting applies.
bool applySettings(const host::Plugin& plugin, const LiveEditorOptions& options,
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

} // namespace

LiveEditor::~LiveEditor() {
    std::string ignored;
    close(ignored);
}

bool LiveEditor::open(host::Plugin& plugin, const LiveEditorOptions& options, std::string& error) {
    driver_ = std::make_unique<host::ProcessDriver>(
        plugin, host::ProcessConfig{48000.0, 512, Vst::kSample32, Vst::kRealtime});
    if (!driver_->start(error)) return false;
    driver_->transport().setPlaying(options.transportRunning);
    if (!applySettings(plugin, options, *driver_, error)) return false;
    frame_ = host::EditorFrame::create(error);
    if (!frame_) return false;
    audio_ = std::make_unique<host::AudioThread>(*driver_);
    audio_->start();
    return frame_->open(plugin.controller(), error);
}

bool LiveEditor::close(std::string& error) {
    if (frame_) frame_->close();
    frame_ = nullptr;
    bool failed = false;
    if (audio_) {
        audio_->stop();
        failed = audio_->failed();
        audio_.reset();
    }
    driver_.reset();
    if (failed) error = "the plug-in failed to process audio";
    return !failed;
}

} // namespace serivane::tools
