#pragma once

#include "host/Module.h"
#include "tools/plugin/RenderSettings.h"
#include "tools/program/ProgramScript.h"
#include "tools/program/SessionControls.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace serivane::tools {

enum class ChangeKind {
    Parameter, // a value sent to the plug-in
    Preset,    // a value of the program-change parameter, sent in a block of its own first
    Follows    // a value a preset leaves behind: part of the plan, not sent
};

// One parameter value at a frame of the render.
struct ScheduledChange {
    std::int64_t frame = 0;
    ParameterSetting setting;
    ChangeKind kind = ChangeKind::Parameter;
};

// What a render starts from: presets, in order, and settings from the command line.
struct StartSettings {
    std::vector<ParameterSetting> presets;
    std::vector<ParameterSetting> settings;
};

// Every parameter change of a render, in order of frame: the start settings at frame 0, then
// the program's steps, its glides as a value every control period, as a host sends automation.
class Automation {
public:
    // The control period of glides.
    static constexpr double controlSeconds = 0.01;

    // Only the start settings.
    explicit Automation(const StartSettings& start);

    // The start settings and a program, resolved on a scratch instance of the module's plug-in:
    // it takes each step in turn, so that a glide starts from the value the parameter has then,
    // also after a preset. Errors name the program's file and line. `interrupted` (when set) is
    // asked as the steps and glides go; once it answers true, planning stops and fails.
    static std::optional<Automation> build(const std::shared_ptr<host::Module>& module,
                                           const StartSettings& start, const ProgramScript& script,
                                           double sampleRate, std::string& error,
                                           const std::function<bool()>& interrupted = {});

    const std::vector<ScheduledChange>& changes() const { return changes_; }
    // The program's steps on the noise bed and the mix, in order of start.
    const std::vector<SessionChange>& sessionChanges() const { return sessionChanges_; }
    // "FILE:LINE: message" for a line of the program.
    std::string errorAt(int line, const std::string& message) const;

    // The planned normalised value of a parameter at a frame; nullopt before anything sets it.
    std::optional<double> valueAt(Steinberg::Vst::ParamID id, std::int64_t frame) const;

private:
    Automation() = default;

    std::vector<ScheduledChange> changes_;
    std::vector<SessionChange> sessionChanges_;
    std::string file_;
};

} // namespace serivane::tools
