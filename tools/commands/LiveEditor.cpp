#include "tools/commands/LiveEditor.h"
#include "tools/commands/SessionStage.h"
#include "tools/plugin/PluginSettings.h"

#include <cmath>

namespace serivane::tools {

using namespace Steinberg;

LiveEditor::~LiveEditor() {
    std::string ignored;
    close(ignored);
}

bool LiveEditor::open(host::Plugin& plugin, const LiveEditorOptions& options, std::string& error) {
    if (options.sound == LiveSound::Device) {
        playback_ = std::make_unique<Playback>();
        std::string why;
        if (!playback_->openDevice(options.device, why)) {
            // A device the user named must be there; the default one may be missing.
            if (!options.device.empty()) {
                error = why;
                return false;
            }
            soundNote_ = why + "; the editor runs silently";
            playback_.reset();
        }
    }
    host::ProcessConfig config{48000.0, 512, Vst::kSample32, Vst::kRealtime};
    if (playback_) config = playback_->processConfig();
    driver_ = std::make_unique<host::ProcessDriver>(plugin, config);
    if (!driver_->start(error)) return false;
    driver_->transport().setPlaying(options.transportRunning);
    if (!applyPresetAndSettings(plugin, *driver_, options.presets, options.settings, error))
        return false;
    frame_ = host::EditorFrame::create(error);
    if (!frame_) return false;
    if (playback_) {
        StreamRenderer& renderer = playback_->prepare(*driver_, 0);
        std::optional<SoundBuffer> noMix;
        if (shapesSession(options.session, noMix, nullptr))
            renderer.shape(sessionStage(options.session, noMix, nullptr,
                                        static_cast<int>(std::lround(renderer.sampleRate())),
                                        SessionFades::openEnded));
        if (!playback_->start(error)) return false;
    }
    if (!playback_) {
        audio_ = std::make_unique<host::AudioThread>(*driver_);
        audio_->start();
    }
    return frame_->open(plugin.controller(), error, options.scale);
}

bool LiveEditor::close(std::string& error) {
    bool failed = false;
    // The sound fades out first: the window's teardown can hold the plug-in long enough for
    // its watchdog to count the stream as stopped, and the sound then resumes with a step.
    if (playback_) {
        failed = !playback_->stop(error);
        playback_.reset();
    }
    if (frame_) frame_->close();
    frame_ = nullptr;
    if (audio_) {
        audio_->stop();
        failed = audio_->failed();
        audio_.reset();
    }
    driver_.reset();
    if (failed && error.empty()) error = "the plug-in failed to process audio";
    return !failed;
}

} // namespace serivane::tools
