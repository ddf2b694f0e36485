#include "tools/commands/InfoCommand.h"
#include "tools/report/NumberText.h"
#include "tools/report/TextTable.h"

#include <algorithm>
#include <cctype>

namespace serivane::tools {

namespace {

// Ids that spell four printable characters (like program-change ids) are shown as such too.
std::string idText(Steinberg::Vst::ParamID id) {
    std::string code;
    for (int shift = 24; shift >= 0; shift -= 8) code += static_cast<char>((id >> shift) & 0xFF);
    bool printable = std::all_of(code.begin(), code.end(), [](char c) {
        return std::isgraph(static_cast<unsigned char>(c));
    });
    return printable ? std::to_string(id) + " '" + code + "'" : std::to_string(id);
}

std::string classSection(const PluginReport& r) {
    const host::ClassDescription& c = r.pluginClass;
    std::string vendor = c.vendor.empty() ? r.factory.vendor : c.vendor;
    std::string out = c.name + " " + c.version + " by " + vendor + "\n";
    return out + textTable({{"category", c.category},
                            {"sub-categories", c.subCategories},
                            {"SDK version", c.sdkVersion},
                            {"class ID", c.classId},
                            {"bundle", r.bundle},
                            {"library", r.library}},
                           "  ");
}

std::string busSection(const PluginReport& r) {
    std::vector<TextRow> rows;
    for (const host::BusDescription& b : r.buses) {
        rows.push_back(
            {std::string(mediaTypeName(b.mediaType)) + " " + directionName(b.direction),
             "\"" + b.name + "\"",
             std::to_string(b.channelCount) + (b.channelCount == 1 ? " channel" : " channels"),
             busTypeName(b.busType)});
    }
    return "\nBuses\n" + textTable(rows, "  ");
}

std::string parameterSection(const PluginReport& r) {
    std::vector<TextRow> rows = {
        {"id", "title", "unit", "min", "max", "default", "normalised", "steps", "shown as"}};
    for (const ParameterReport& p : r.parameters) {
        const host::ParameterDescription& d = p.description;
        rows.push_back({idText(d.id), d.title, d.units, significant(p.minimum, 8),
                        significant(p.maximum, 8), significant(p.defaultPlain, 8),
                        significant(d.defaultNormalized, 6), std::to_string(d.stepCount),
                        p.defaultDisplay.value_or("-")});
    }
    return "\nParameters (" + std::to_string(r.parameters.size()) + ")\n" + textTable(rows, "  ");
}

std::string choiceSection(const PluginReport& r) {
    std::vector<TextRow> rows;
    for (const ParameterReport& p : r.parameters) {
        if (p.choices.empty()) continue;
        std::string texts;
        for (const std::string& choice : p.choices) texts += (texts.empty() ? "" : ", ") + choice;
        rows.push_back({p.description.title, texts});
    }
    return rows.empty() ? "" : "\nChoices\n" + textTable(rows, "  ");
}

std::string programSection(const PluginReport& r) {
    std::vector<TextRow> rows;
    for (std::size_t i = 0; i < r.programs.programs.size(); ++i)
        rows.push_back({std::to_string(i), r.programs.programs[i]});
    return "\nPrograms: " + r.programs.name + " (" + std::to_string(rows.size()) + ")\n" +
           textTable(rows, "  ");
}

} // namespace

std::string infoText(const PluginReport& report) {
    return classSection(report) + busSection(report) + parameterSection(report) +
           choiceSection(report) + programSection(report);
}

} // namespace serivane::tools
