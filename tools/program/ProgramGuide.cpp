#include "tools/program/ProgramGuide.h"
#include "tools/program/ProgramTime.h"

namespace serivane::tools {

namespace {

std::string described(const ScriptStep& step) {
    return programClock(step.time) + " " + step.text;
}

} // namespace

std::string ProgramGuide::current(double seconds) const {
    const ScriptStep* found = nullptr;
    for (const ScriptStep& step : script_.steps()) {
        if (step.time > seconds) break;
        found = &step;
    }
    for (const ScriptStep& step : script_.steps()) {
        if (step.kind == StepKind::Glide && step.time <= seconds &&
            seconds < step.time + step.glideSeconds)
            found = &step;
    }
    return found != nullptr ? described(*found) : std::string();
}

std::string ProgramGuide::next(double seconds) const {
    for (const ScriptStep& step : script_.steps()) {
        if (step.time > seconds) return described(step);
    }
    return "";
}

} // namespace serivane::tools
