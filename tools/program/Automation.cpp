#include "tools/program/Automation.h"
#include "tools/report/NumberText.h"

#include "host/ProcessDriver.h"

#include <algorithm>
#include <cmath>

namespace serivane::tools {

using namespace Steinberg;

namespace {

// A plug-in instance that takes the steps in turn, to tell what each leaves behind.
class Scratch {
public:
    Scratch(std::unique_ptr<host::Plugin> plugin, double sampleRate)
        : plugin_(std::move(plugin)),
          driver_(*plugin_, {sampleRate, 64, Vst::kSample32, Vst::kOffline}),
          parameters_(plugin_->parameters()) {}

    bool start(std::string& error) { return driver_.start(error); }
    const host::Plugin& plugin() const { return *plugin_; }

    bool apply(const ParameterSetting& setting) {
        return driver_.parameterChanges().add(setting.id, setting.normalized) && driver_.flush();
    }

    std::vector<double> values() const {
        std::vector<double> values;
        for (const host::ParameterDescription& p : parameters_)
            values.push_back(plugin_->normalizedValue(p.id));
        return values;
    }

    const std::vector<host::ParameterDescription>& parameters() const { return parameters_; }

    const host::ParameterDescription* describe(Vst::ParamID id) const {
        for (const host::ParameterDescription& p : parameters_) {
            if (p.id == id) return &p;
        }
        return nullptr;
    }

private:
    std::unique_ptr<host::Plugin> plugin_;
    host::ProcessDriver driver_;
    std::vector<host::ParameterDescription> parameters_;
};

class Planner {
public:
    Planner(Scratch& scratch, const ProgramScript& script, double sampleRate,
            std::vector<ScheduledChange>& changes, std::vector<SessionChange>& sessionChanges,
            const std::function<bool()>& interrupted)
        : scratch_(scratch), script_(script), sampleRate_(sampleRate), changes_(changes),
          sessionChanges_(sessionChanges), interrupted_(interrupted) {}

    bool step(const ScriptStep& step, std::string& error) {
        if (stopAsked(error)) return false;
        if (step.kind == StepKind::Set || step.kind == StepKind::Glide) {
            if (std::optional<SessionControl> control = sessionControlNamed(step.name))
                return session(step, *control, error);
        }
        std::int64_t frame = frameOf(step.time);
        ParameterSetting setting;
        std::string problem;
        switch (step.kind) {
        case StepKind::End:
            return true;
        case StepKind::Preset:
            if (!resolvePreset(scratch_.plugin(), step.name, setting, problem)) break;
            return preset(frame, setting, step, error);
        case StepKind::Set:
            if (!resolveSetting(scratch_.plugin(), step.name, step.value, setting, problem)) break;
            changes_.push_back({frame, setting, ChangeKind::Parameter});
            return apply(setting, step, error);
        case StepKind::Glide:
            if (!resolveSetting(scratch_.plugin(), step.name, step.value, setting, problem)) break;
            return glide(step, setting, error);
        }
        error = script_.errorAt(step.line, problem);
        return false;
    }

private:
    bool stopAsked(std::string& error) const {
        if (!interrupted_ || !interrupted_()) return false;
        error = "planning " + script_.file() + " was interrupted";
        return true;
    }

    std::int64_t frameOf(double seconds) const {
        return static_cast<std::int64_t>(std::llround(seconds * sampleRate_));
    }

    bool apply(const ParameterSetting& setting, const ScriptStep& step, std::string& error) {
        if (scratch_.apply(setting)) return true;
        error = script_.errorAt(step.line, "the plug-in did not take this step");
        return false;
    }

    // The preset, then the value of every parameter that it changed.
    bool preset(std::int64_t frame, const ParameterSetting& setting, const ScriptStep& step,
                std::string& error) {
        std::vector<double> before = scratch_.values();
        changes_.push_back({frame, setting, ChangeKind::Preset});
        if (!apply(setting, step, error)) return false;
        std::vector<double> after = scratch_.values();
        for (std::size_t i = 0; i < after.size(); ++i) {
            if (after[i] != before[i])
                changes_.push_back(
                    {frame, {scratch_.parameters()[i].id, after[i]}, ChangeKind::Follows});
        }
        return true;
    }

    bool glide(const ScriptStep& step, const ParameterSetting& target, std::string& error) {
        const host::Plugin& plugin = scratch_.plugin();
        const host::ParameterDescription& p = *scratch_.describe(target.id);
        if (p.stepCount > 0 && !parseNumber(plugin.displayText(p.id, 0.0).value_or(""))) {
            error = script_.errorAt(step.line, "\"" + p.title +
                                                   "\" is a list of choices and cannot glide: "
                                                   "expected a step without \"over\"");
            return false;
        }
        double from = plugin.toPlain(p.id, plugin.normalizedValue(p.id));
        double to = plugin.toPlain(p.id, target.normalized);
        if (step.shape == GlideShape::Ratio && (from <= 0.0 || to <= 0.0)) {
            error = script_.errorAt(step.line, "an equal-ratio glide needs values above 0, and \"" +
                                                   p.title + "\" goes from " +
                                                   significant(from, 8) + " to " +
                                                   significant(to, 8) + ": expected \"linear\"");
            return false;
        }
        std::int64_t start = frameOf(step.time);
        std::int64_t end = frameOf(step.time + step.glideSeconds);
        auto period = std::max<std::int64_t>(1, frameOf(Automation::controlSeconds));
        for (std::int64_t frame = start; frame < end; frame += period) {
            if (stopAsked(error)) return false;
            double u = static_cast<double>(frame - start) / static_cast<double>(end - start);
            double plain = step.shape == GlideShape::Ratio ? from * std::pow(to / from, u)
                                                           : from + (to - from) * u;
            double value = std::clamp(plugin.toNormalized(p.id, plain), 0.0, 1.0);
            changes_.push_back({frame, {p.id, value}, ChangeKind::Parameter});
        }
        changes_.push_back({end, target, ChangeKind::Parameter});
        return apply(target, step, error);
    }

    // A step on the noise bed or the mix. A step at once after the start moves over one control
    // period, so that the level or colour does not jump.
    bool session(const ScriptStep& step, SessionControl control, std::string& error) {
        std::string problem;
        std::optional<double> value = sessionValue(control, step.value, problem);
        if (value && step.kind == StepKind::Glide && step.shape == GlideShape::Ratio)
            problem = quotedControl(control) +
                      (control == SessionControl::Noise ? " crossfades" : " glides evenly in dB") +
                      ": expected \"linear\" or nothing after the glide length";
        if (!problem.empty()) {
            error = script_.errorAt(step.line, problem);
            return false;
        }
        std::int64_t start = frameOf(step.time);
        std::int64_t end =
            step.kind == StepKind::Glide ? frameOf(step.time + step.glideSeconds)
            : start == 0                 ? 0
                         : start + std::max<std::int64_t>(1, frameOf(Automation::controlSeconds));
        sessionChanges_.push_back({step.line, start, end, control, *value});
        return true;
    }

    Scratch& scratch_;
    const ProgramScript& script_;
    double sampleRate_;
    std::vector<ScheduledChange>& changes_;
    std::vector<SessionChange>& sessionChanges_;
    const std::function<bool()>& interrupted_;
};

} // namespace

Automation::Automation(const StartSettings& start) {
    for (const ParameterSetting& preset : start.presets)
        changes_.push_back({0, preset, ChangeKind::Preset});
    for (const ParameterSetting& s : start.settings)
        changes_.push_back({0, s, ChangeKind::Parameter});
}

std::optional<Automation> Automation::build(const std::shared_ptr<host::Module>& module,
                                            const StartSettings& start, const ProgramScript& script,
                                            double sampleRate, std::string& error,
                                            const std::function<bool()>& interrupted) {
    std::unique_ptr<host::Plugin> plugin = host::Plugin::create(module, error);
    if (!plugin) return std::nullopt;
    Scratch scratch(std::move(plugin), sampleRate);
    if (!scratch.start(error)) return std::nullopt;
    Automation automation(start);
    for (const ScheduledChange& change : automation.changes_) {
        if (!scratch.apply(change.setting)) {
            error = "the plug-in did not take the start settings";
            return std::nullopt;
        }
    }
    std::vector<double> values = scratch.values();
    for (std::size_t i = 0; i < values.size(); ++i)
        automation.changes_.push_back(
            {0, {scratch.parameters()[i].id, values[i]}, ChangeKind::Follows});
    automation.file_ = script.file();
    Planner planner(scratch, script, sampleRate, automation.changes_, automation.sessionChanges_,
                    interrupted);
    for (const ScriptStep& step : script.steps()) {
        if (!planner.step(step, error)) return std::nullopt;
    }
    std::stable_sort(
        automation.changes_.begin(), automation.changes_.end(),
        [](const ScheduledChange& a, const ScheduledChange& b) { return a.frame < b.frame; });
    return automation;
}

std::string Automation::errorAt(int line, const std::string& message) const {
    return file_ + ":" + std::to_string(line) + ": " + message;
}

std::optional<double> Automation::valueAt(Vst::ParamID id, std::int64_t frame) const {
    auto end = std::upper_bound(
        changes_.begin(), changes_.end(), frame,
        [](std::int64_t f, const ScheduledChange& change) { return f < change.frame; });
    for (auto it = end; it != changes_.begin();) {
        --it;
        if (it->setting.id == id && it->kind != ChangeKind::Preset) return it->setting.normalized;
    }
    return std::nullopt;
}

} // namespace serivane::tools
