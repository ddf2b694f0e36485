#include "tools/program/Automation.h"
#include "tools/report/NumberText.h"

#include "host/ProcessDriver.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <queue>

namespace serivane::tools {

using namespace Steinberg;

namespace {

// A plug-in instance that takes the steps in turn, to tell what each leaves behind.
class Scratch {
public:
    Scratch(host::Plugin& plugin, double sampleRate)
        : plugin_(&plugin), driver_(plugin, {sampleRate, 64, Vst::kSample32, Vst::kOffline}),
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
    host::Plugin* plugin_;
    host::ProcessDriver driver_;
    std::vector<host::ParameterDescription> parameters_;
};

class Planner {
public:
    Planner(Scratch& scratch, const ProgramScript& script, double sampleRate,
            std::vector<PlannedChange>& changes, std::vector<SessionChange>& sessionChanges,
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
            changes_.push_back({{frame, setting, ChangeKind::Parameter}});
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
        changes_.push_back({{frame, setting, ChangeKind::Preset}});
        if (!apply(setting, step, error)) return false;
        std::vector<double> after = scratch_.values();
        for (std::size_t i = 0; i < after.size(); ++i) {
            if (after[i] != before[i])
                changes_.push_back(
                    {{frame, {scratch_.parameters()[i].id, after[i]}, ChangeKind::Follows}});
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
        changes_.push_back({{frameOf(step.time), target, ChangeKind::Parameter},
                            true,
                            frameOf(step.time + step.glideSeconds),
                            from,
                            to,
                            step.shape});
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
    std::vector<PlannedChange>& changes_;
    std::vector<SessionChange>& sessionChanges_;
    const std::function<bool()>& interrupted_;
};

// The most glides that run at once: a glide runs from its first frame until its end, where it
// gives way to what starts there.
std::size_t mostRunning(const std::vector<PlannedChange>& planned) {
    std::priority_queue<std::int64_t, std::vector<std::int64_t>, std::greater<>> ends;
    std::size_t most = 0;
    for (const PlannedChange& p : planned) {
        if (!p.glide) continue;
        while (!ends.empty() && ends.top() <= p.change.frame) ends.pop();
        ends.push(p.end);
        most = std::max(most, ends.size());
    }
    return most;
}

} // namespace

Automation::Automation(const StartSettings& start) {
    for (const ParameterSetting& preset : start.presets)
        planned_.push_back({{0, preset, ChangeKind::Preset}});
    for (const ParameterSetting& s : start.settings)
        planned_.push_back({{0, s, ChangeKind::Parameter}});
}

std::optional<Automation> Automation::build(const std::shared_ptr<host::Module>& module,
                                            const StartSettings& start, const ProgramScript& script,
                                            double sampleRate, std::string& error,
                                            const std::function<bool()>& interrupted) {
    std::shared_ptr<host::Plugin> plugin = host::Plugin::create(module, error);
    if (!plugin) return std::nullopt;
    Automation automation(start);
    {
        Scratch scratch(*plugin, sampleRate);
        if (!scratch.start(error)) return std::nullopt;
        for (const PlannedChange& planned : automation.planned_) {
            if (!scratch.apply(planned.change.setting)) {
                error = "the plug-in did not take the start settings";
                return std::nullopt;
            }
        }
        std::vector<double> values = scratch.values();
        for (std::size_t i = 0; i < values.size(); ++i)
            automation.planned_.push_back(
                {{0, {scratch.parameters()[i].id, values[i]}, ChangeKind::Follows}});
        automation.file_ = script.file();
        Planner planner(scratch, script, sampleRate, automation.planned_,
                        automation.sessionChanges_, interrupted);
        for (const ScriptStep& step : script.steps()) {
            if (!planner.step(step, error)) return std::nullopt;
        }
    }
    automation.converter_ = std::move(plugin);
    automation.period_ = std::max<std::int64_t>(1, std::llround(controlSeconds * sampleRate));
    automation.mostRunning_ = mostRunning(automation.planned_);
    return automation;
}

std::string Automation::errorAt(int line, const std::string& message) const {
    return file_ + ":" + std::to_string(line) + ": " + message;
}

std::optional<double> Automation::valueAt(Vst::ParamID id, std::int64_t frame) const {
    std::optional<double> value;
    for (ChangeCursor cursor(*this); cursor.frame() >= 0 && cursor.frame() <= frame;
         cursor.advance()) {
        const ScheduledChange& change = cursor.change();
        if (change.setting.id == id && change.kind != ChangeKind::Preset)
            value = change.setting.normalized;
    }
    return value;
}

double Automation::glideValue(const PlannedChange& glide, std::int64_t frame) const {
    const std::int64_t start = glide.change.frame;
    double u = static_cast<double>(frame - start) / static_cast<double>(glide.end - start);
    double plain = glide.shape == GlideShape::Ratio
                       ? glide.from * std::pow(glide.to / glide.from, u)
                       : glide.from + (glide.to - glide.from) * u;
    return std::clamp(converter_->toNormalized(glide.change.setting.id, plain), 0.0, 1.0);
}

ChangeCursor::ChangeCursor(const Automation& automation) : automation_(automation) {
    running_.reserve(automation.mostRunning_);
    advance();
}

// The next change is the earliest of the next entry's and the running glides', and of two on one
// frame the one planned first.
void ChangeCursor::advance() {
    const std::vector<PlannedChange>& planned = automation_.planned_;
    for (;;) {
        auto soonest = running_.end();
        for (auto r = running_.begin(); r != running_.end(); ++r) {
            if (soonest == running_.end() || r->frame < soonest->frame ||
                (r->frame == soonest->frame && r->entry < soonest->entry))
                soonest = r;
        }
        if (entry_ < planned.size() &&
            (soonest == running_.end() || planned[entry_].change.frame < soonest->frame)) {
            const PlannedChange& begun = planned[entry_++];
            if (begun.glide) {
                running_.push_back({entry_ - 1, begun.change.frame});
                continue;
            }
            next_ = begun.change;
            pending_ = true;
            return;
        }
        pending_ = soonest != running_.end();
        if (!pending_) return;
        const PlannedChange& glide = planned[soonest->entry];
        if (soonest->frame < glide.end) {
            next_ = {soonest->frame,
                     {glide.change.setting.id, automation_.glideValue(glide, soonest->frame)},
                     ChangeKind::Parameter};
            soonest->frame = std::min(soonest->frame + automation_.period_, glide.end);
        } else {
            next_ = {glide.end, glide.change.setting, ChangeKind::Parameter};
            *soonest = running_.back();
            running_.pop_back();
        }
        return;
    }
}

} // namespace serivane::tools
