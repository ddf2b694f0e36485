#include "tools/plugin/RenderSettings.h"
#include "tools/plugin/InfoReport.h"
#include "tools/plugin/PresetChoice.h"
#include "tools/report/NumberText.h"

#include <algorithm>
#include <cmath>

namespace serivane::tools {

using namespace Steinberg;

namespace {

// Exact match first; otherwise a unique match that ignores case.
template <typename Item, typename Name>
const Item* findByName(const std::vector<Item>& items, const std::string& wanted, Name nameOf) {
    for (const Item& item : items) {
        if (nameOf(item) == wanted) return &item;
    }
    const Item* found = nullptr;
    for (const Item& item : items) {
        if (!equalsIgnoringCase(nameOf(item), wanted)) continue;
        if (found != nullptr) return nullptr;
        found = &item;
    }
    return found;
}

std::string rangeText(double low, double high, const std::string& units) {
    return significant(low, 8) + " to " + significant(high, 8) + (units.empty() ? "" : " " + units);
}

// A number, optionally followed by the parameter's unit ("440 Hz").
std::optional<double> plainNumber(const std::string& value, const std::string& units) {
    if (std::optional<double> number = parseNumber(value)) return number;
    std::string_view text = trim(value);
    if (units.empty() || text.size() <= units.size()) return std::nullopt;
    std::string_view suffix = text.substr(text.size() - units.size());
    if (!equalsIgnoringCase(suffix, units)) return std::nullopt;
    return parseNumber(text.substr(0, text.size() - units.size()));
}

bool byNumber(const host::Plugin& plugin, const host::ParameterDescription& p, double plain,
              ParameterSetting& setting, std::string& error) {
    double low = plugin.toPlain(p.id, 0.0);
    double high = plugin.toPlain(p.id, 1.0);
    if (low > high) std::swap(low, high);
    double slack = (high - low) * 1e-9;
    if (plain < low - slack || plain > high + slack) {
        error = "\"" + p.title + "\" takes " + rangeText(low, high, p.units) + ", not " +
                significant(plain, 10);
        return false;
    }
    double steps = p.stepCount > 0 ? (plain - low) / (high - low) * p.stepCount : 0.0;
    if (std::abs(steps - std::round(steps)) > 1e-6) {
        error = "\"" + p.title + "\" takes steps of " + significant((high - low) / p.stepCount, 8) +
                ", not " + significant(plain, 10);
        return false;
    }
    setting = {p.id, std::clamp(plugin.toNormalized(p.id, plain), 0.0, 1.0)};
    return true;
}

bool byDisplayText(const host::Plugin& plugin, const host::ParameterDescription& p,
                   const std::string& value, ParameterSetting& setting, std::string& error) {
    std::vector<std::string> choices;
    for (int32 step = 0; step <= p.stepCount && p.stepCount > 0; ++step) {
        double normalized = static_cast<double>(step) / p.stepCount;
        choices.push_back(plugin.displayText(p.id, normalized).value_or(""));
    }
    const std::string* found = findByName(choices, value, [](const std::string& s) { return s; });
    if (found != nullptr) {
        setting = {p.id, static_cast<double>(found - choices.data()) / p.stepCount};
        return true;
    }
    error = "\"" + p.title + "\" does not take \"" + value + "\": give a number";
    bool named = !choices.empty() && !parseNumber(choices.front());
    if (named && p.stepCount < 32) {
        error += " or one of";
        for (const std::string& choice : choices) error += " \"" + choice + "\"";
    } else {
        error +=
            " from " + rangeText(plugin.toPlain(p.id, 0.0), plugin.toPlain(p.id, 1.0), p.units);
    }
    return false;
}

} // namespace

bool resolvePreset(const host::Plugin& plugin, const std::string& choice, ParameterSetting& setting,
                   std::string& error) {
    std::optional<host::ParameterDescription> program = plugin.programChangeParameter();
    if (!program) {
        error = "\"" + plugin.classDescription().name + "\" has no presets to choose from";
        return false;
    }
    std::optional<std::size_t> slot = choosePreset(rootPrograms(plugin).programs, choice, error);
    if (!slot) return false;
    auto last = program->stepCount;
    setting = {program->id, last > 0 ? static_cast<double>(*slot) / last : 0.0};
    return true;
}

bool resolveSetting(const host::Plugin& plugin, const std::string& name, const std::string& value,
                    ParameterSetting& setting, std::string& error) {
    std::vector<host::ParameterDescription> parameters = plugin.parameters();
    std::erase_if(parameters, [](const host::ParameterDescription& p) {
        return (p.flags & Vst::ParameterInfo::kIsProgramChange) != 0;
    });
    const host::ParameterDescription* p =
        findByName(parameters, name, [](const host::ParameterDescription& d) { return d.title; });
    if (p == nullptr) {
        error = "no parameter \"" + name + "\" (\"serivane info\" lists them)";
        return false;
    }
    if (std::optional<double> plain = plainNumber(value, p->units))
        return byNumber(plugin, *p, *plain, setting, error);
    return byDisplayText(plugin, *p, value, setting, error);
}

} // namespace serivane::tools
