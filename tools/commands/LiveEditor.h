#pragma once

#include "host/AudioThread.h"
#include "host/EditorFrame.h"
#include "host/Plugin.h"
#include "host/ProcessDriver.h"
#include "tools/commands/SessionOptions.h"
#include "tools/sound/Playback.h"

#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace serivane::tools {

// Where the processed sound goes: nowhere, on a thread paced like a sound card, or to an
// output device, falling back to the silent thread when there is none.
enum class LiveSound { Silent, Device };

struct LiveEditorOptions {
    std::vector<std::string> presets;                          // applied in order
    std::vector<std::pair<std::string, std::string>> settings; // parameter name, value text
    bool transportRunning = true;
    LiveSound sound = LiveSound::Silent;
    std::string device;     // empty: the default output
    SessionOptions session; // its noise bed goes under the sound of a device
    double scale = 0.0;     // the content scale the host gives the editor; 0: none
};

// The plug-in processing on an audio thread of its own (a sound device's, or one paced like
// it), with its editor open in a top-level window of our host: what `snapshot` photographs and
// `edit` hands to the user. The window's events and timers run on the thread that runs
// frame().loop().
class LiveEditor {
public:
    LiveEditor() = default;
    ~LiveEditor();
    LiveEditor(const LiveEditor&) = delete;
    LiveEditor& operator=(const LiveEditor&) = delete;

    // Starts processing with the preset and settings applied, then opens the editor; false
    // with `error` set when any step fails.
    bool open(host::Plugin& plugin, const LiveEditorOptions& options, std::string& error);
    // Closes the window and stops processing; false with `error` set when processing failed.
    bool close(std::string& error);

    host::EditorFrame& frame() { return *frame_; }
    // Why the sound stays silent although a device was asked for; empty otherwise.
    const std::string& soundNote() const { return soundNote_; }
    // The output device playing the sound, when one does.
    const OutputDevice* device() const { return playback_ ? &playback_->device() : nullptr; }
    // False once the output device has stopped or processing on it failed; close() says why.
    bool soundFlowing() { return !playback_ || playback_->flowing(); }

private:
    std::unique_ptr<Playback> playback_;
    std::string soundNote_;
    std::unique_ptr<host::ProcessDriver> driver_;
    std::unique_ptr<host::AudioThread> audio_;
    Steinberg::IPtr<host::EditorFrame> frame_;
};

} // namespace serivane::tools
