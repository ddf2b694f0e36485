#include "tools/plugin/PresetReport.h"
#include "tools/report/TextTable.h"

namespace serivane::tools {

std::string presetText(const PresetReport& report) {
    const std::size_t total = report.sets.size() + report.leavesAlone.size();
    std::string out = "Preset " + std::to_string(report.slot) + ": " + report.name + "\n";
    out += "\nSets " + std::to_string(report.sets.size()) + " of " + std::to_string(total) +
           " parameters\n";
    std::vector<TextRow> rows;
    for (const PresetValue& v : report.sets) {
        const std::string& units = v.description.units;
        rows.push_back({v.description.title, v.display + (units.empty() ? "" : " " + units)});
    }
    out += textTable(rows, "  ");
    if (report.leavesAlone.empty()) return out + "\nLeaves no parameter alone: it sets them all\n";
    out += "\nLeaves " + std::to_string(report.leavesAlone.size()) +
           " parameters as they were set before it\n";
    for (const host::ParameterDescription& p : report.leavesAlone) out += "  " + p.title + "\n";
    return out;
}

} // namespace serivane::tools
