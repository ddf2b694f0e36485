#include "tools/program/ProgramGuide.h"
#include "tools/report/NumberText.h"
#include "tools/report/ProgressBar.h"

#include <algorithm>
#include <cmath>

namespace serivane::tools {

namespace {

// Comments run long; the live line has to stay on one terminal row.
constexpr std::size_t labelWidth = 40;

// "8m", "30s", "1h30m", "1m30.5s".
std::string duration(double seconds) {
    auto whole = static_cast<long long>(std::floor(seconds));
    double fraction = seconds - static_cast<double>(whole);
    std::string text;
    if (whole >= 3600) text += std::to_string(whole / 3600) + "h";
    if (whole % 3600 >= 60) text += std::to_string(whole % 3600 / 60) + "m";
    if (whole % 60 != 0 || fraction > 0.0 || text.empty())
        text += significant(static_cast<double>(whole % 60) + fraction, 4) + "s";
    return text;
}

// "2:10", or "1:02:10" from an hour on; rounded up, so a change never shows as due in 0:00.
std::string countdown(double seconds) {
    return clockText(std::ceil(seconds));
}

std::string change(const ScriptStep& step) {
    switch (step.kind) {
    case StepKind::Preset:
        return "preset " + step.name;
    case StepKind::Set:
        return step.name + " → " + step.value;
    case StepKind::Glide:
        return step.name + " → " + step.value + " over " + duration(step.glideSeconds);
    case StepKind::End:
        break;
    }
    return "end";
}

} // namespace

ProgramGuide::ProgramGuide(const ProgramScript& script) {
    for (const ScriptStep& line : script.steps()) {
        if (steps_.empty() || steps_.back().time != line.time) steps_.push_back({line.time, {}});
        steps_.back().lines.push_back(line);
    }
    counted_ = static_cast<int>(steps_.size());
    if (counted_ > 0 && steps_.back().lines.front().kind == StepKind::End) --counted_;
}

ProgramPlace ProgramGuide::at(double seconds) const {
    ProgramPlace place;
    place.steps = counted_;
    std::size_t next = 0;
    while (next < steps_.size() && steps_[next].time <= seconds) ++next;
    place.step = std::min(static_cast<int>(next), counted_);
    if (next > 0 && place.step > 0) {
        const Step& current = steps_[static_cast<std::size_t>(place.step) - 1];
        place.label = current.lines.front().text;
        for (const ScriptStep& line : current.lines) {
            if (line.comment.empty()) continue;
            place.label = line.comment;
            break;
        }
    }
    if (next < steps_.size()) {
        const Step& coming = steps_[next];
        place.next = change(coming.lines.front());
        if (coming.lines.size() > 1)
            place.next += " +" + std::to_string(coming.lines.size() - 1) + " more";
        place.untilNext = coming.time - seconds;
    }
    return place;
}

std::string ProgramGuide::text(double seconds) const {
    ProgramPlace place = at(seconds);
    std::string text;
    if (place.step > 0) {
        std::string label = place.label;
        if (label.size() > labelWidth) label = label.substr(0, labelWidth - 3) + "...";
        text = "step " + std::to_string(place.step) + "/" + std::to_string(place.steps) + " \"" +
               label + "\"";
    }
    if (!place.next.empty())
        text += (text.empty() ? "" : "  ") + std::string("next: ") + place.next + " in " +
                countdown(place.untilNext);
    return text;
}

} // namespace serivane::tools
