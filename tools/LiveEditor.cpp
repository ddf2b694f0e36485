#include "tools/LiveEditor.h"
#include "tools/RenderSettings.h"

namespace serivane::tools {

using namespace Steinberg;

LiveEditor::~LiveEditor() {
    std::string ignored;
    close(ignored);
}

bool LiveEditor::open(host::Plugin& plugin, const LiveEditorOptions& options, std::string& error) {
    driver_ = std::make_unique<host::ProcessDriver>(
        plugin, host::ProcessConfig{48000.0, 512, Vst::kSample32, Vst::kRealtime});
    if (!driver_->start(error)) return false;
    driver_->transport().setPlaying(options.transportRunning);
    if (!applyStartSettings(plugin, options.preset, options.settings, *driver_, error))
        return false;
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
