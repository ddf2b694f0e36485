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

// A change as planned; a glide's holds its first frame and its target, and its values go from
// `from` to `to` (plain) until `end`, where the target is sent.
struct PlannedChange {
    ScheduledChange change;
    bool glide = false;
    std::int64_t end = 0;
    double from = 0.0;
    double to = 0.0;
    GlideShape shape = GlideShape::Linear;
};

// Every parameter change of a render, in order of frame: the start settings at frame 0, then
// the program's steps, its glides as a value every control period, as a host sends automation.
// A glide is kept as its ends and its values are computed as they are sent (ChangeCursor), so a
// plan takes memory by its steps, not by its length.
class Automation {
public:
    // The control period of glides.
    static constexpr double controlSeconds = 0.01;

    // Only the start settings.
    explicit Automation(const StartSettings& start);

    // The start settings and a program, resolved on a scratch instance of the module's plug-in:
    // it takes each step in turn, so that a glide starts from the value the parameter has then,
    // also after a preset. Errors name the program's file and line. `interrupted` (when set) is
    // asked as the steps go; once it answers true, planning stops and fails. The plan keeps the
    // scratch instance to turn its glides' values into normalised ones.
    static std::optional<Automation> build(const std::shared_ptr<host::Module>& module,
                                           const StartSettings& start, const ProgramScript& script,
                                           double sampleRate, std::string& error,
                                           const std::function<bool()>& interrupted = {});

    // The program's steps on the noise bed and the mix, in order of start.
    const std::vector<SessionChange>& sessionChanges() const { return sessionChanges_; }
    // "FILE:LINE: message" for a line of the program.
    std::string errorAt(int line, const std::string& message) const;

    // The planned normalised value of a parameter at a frame; nullopt before anything sets it.
    // Walks the plan from its start.
    std::optional<double> valueAt(Steinberg::Vst::ParamID id, std::int64_t frame) const;

private:
    friend class ChangeCursor;

    Automation() = default;

    // The value a glide sends at `frame`.
    double glideValue(const PlannedChange& glide, std::int64_t frame) const;

    std::vector<PlannedChange> planned_; // in order of frame, and of planning within a frame
    std::shared_ptr<const host::Plugin> converter_;
    std::int64_t period_ = 1;     // of glides, in frames
    std::size_t mostRunning_ = 0; // glides running at once, at most
    std::vector<SessionChange> sessionChanges_;
    std::string file_;
};

// Walks an automation's changes in order of frame, computing each glide's values as it comes to
// them. Allocates only when it is made.
class ChangeCursor {
public:
    explicit ChangeCursor(const Automation& automation);

    // The frame of the next change; -1 when none is left.
    std::int64_t frame() const { return pending_ ? next_.frame : -1; }
    // The next change, while there is one.
    const ScheduledChange& change() const { return next_; }
    void advance();

private:
    struct Running {
        std::size_t entry;
        std::int64_t frame; // the next value's, or the end's once the values are sent
    };

    const Automation& automation_;
    std::size_t entry_ = 0; // the first entry not yet begun
    std::vector<Running> running_;
    ScheduledChange next_;
    bool pending_ = false;
};

} // namespace serivane::tools
