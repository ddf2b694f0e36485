#pragma once

#include "tools/program/Automation.h"
#include "tools/program/BeatPlan.h"
#include "tools/program/ProgramGuide.h"
#include "tools/program/ProgramScript.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace serivane::tools {

// A program made ready to play live: its changes for the audio callback, and for the thread
// that watches the playback its steps and its planned beat, which it reads without touching
// the playing plug-in.
class LiveProgram {
public:
    LiveProgram() = default;
    LiveProgram(const LiveProgram&) = delete;
    LiveProgram& operator=(const LiveProgram&) = delete;

    // Reads the program named by `choice` (a file or a built-in program) and plans it from
    // `start` at `sampleRate`; `plugin` converts the planned beat to Hz. Once `interrupted`
    // answers true, loading stops and fails.
    bool load(const std::shared_ptr<host::Module>& module, const host::Plugin& plugin,
              const StartSettings& start, const std::string& choice, double sampleRate,
              std::string& error, const std::function<bool()>& interrupted);

    const ProgramScript& script() const { return script_; }
    const Automation& automation() const { return *automation_; }
    // The step and the next change, for the live line.
    std::string guideText(double seconds) const { return guide_->text(seconds); }
    std::optional<double> beatAt(double seconds) const { return beat_->at(seconds); }

private:
    ProgramScript script_;
    std::optional<ProgramGuide> guide_;
    std::optional<Automation> automation_;
    std::optional<BeatPlan> beat_;
};

} // namespace serivane::tools
