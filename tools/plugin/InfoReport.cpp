#include "tools/plugin/InfoReport.h"

namespace serivane::tools {

using namespace Steinberg;

namespace {

// The program list names the presets already.
std::vector<std::string> choiceTexts(const host::Plugin& plugin,
                                     const host::ParameterDescription& p) {
    std::vector<std::string> texts;
    if ((p.flags & Vst::ParameterInfo::kIsList) == 0 ||
        (p.flags & Vst::ParameterInfo::kIsProgramChange) != 0)
        return texts;
    for (int32 step = 0; step <= p.stepCount && p.stepCount > 0; ++step)
        texts.push_back(
            plugin.displayText(p.id, static_cast<double>(step) / p.stepCount).value_or(""));
    return texts;
}

ParameterReport describe(const host::Plugin& plugin, const host::ParameterDescription& p) {
    return {p,
            plugin.toPlain(p.id, 0.0),
            plugin.toPlain(p.id, 1.0),
            plugin.toPlain(p.id, p.defaultNormalized),
            plugin.displayText(p.id, p.defaultNormalized),
            choiceTexts(plugin, p)};
}

} // namespace

ProgramListReport rootPrograms(const host::Plugin& plugin) {
    std::vector<host::ProgramListDescription> lists = plugin.programLists();
    if (lists.empty()) return {};
    const host::ProgramListDescription* chosen = &lists.front();
    for (const host::UnitDescription& unit : plugin.units()) {
        if (unit.id != Vst::kRootUnitId) continue;
        for (const host::ProgramListDescription& list : lists) {
            if (list.id == unit.programListId) chosen = &list;
        }
    }
    return {chosen->name, chosen->programs};
}

PluginReport collectReport(const host::Plugin& plugin, const std::string& library) {
    PluginReport report;
    report.library = library;
    report.factory = plugin.factoryDescription();
    report.pluginClass = plugin.classDescription();
    for (Vst::MediaType type : {Vst::kAudio, Vst::kEvent}) {
        for (Vst::BusDirection direction : {Vst::kInput, Vst::kOutput}) {
            for (const host::BusDescription& bus : plugin.buses(type, direction))
                report.buses.push_back(bus);
        }
    }
    for (const host::ParameterDescription& p : plugin.parameters())
        report.parameters.push_back(describe(plugin, p));
    report.programs = rootPrograms(plugin);
    return report;
}

std::vector<std::string> splitSubCategories(const std::string& text) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    while (start <= text.size() && !text.empty()) {
        std::size_t bar = text.find('|', start);
        if (bar == std::string::npos) bar = text.size();
        if (bar > start) parts.push_back(text.substr(start, bar - start));
        start = bar + 1;
    }
    return parts;
}

const char* mediaTypeName(Vst::MediaType type) {
    return type == Vst::kAudio ? "audio" : "event";
}

const char* directionName(Vst::BusDirection direction) {
    return direction == Vst::kInput ? "input" : "output";
}

const char* busTypeName(Vst::BusType type) {
    return type == Vst::kMain ? "main" : "aux";
}

} // namespace serivane::tools
