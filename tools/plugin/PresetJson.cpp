#include "tools/plugin/PresetReport.h"
#include "tools/report/JsonText.h"

namespace serivane::tools {

std::string presetJson(const PresetReport& report) {
    using Json = nlohmann::ordered_json;
    Json sets = Json::array();
    for (const PresetValue& v : report.sets) {
        sets.push_back({{"id", v.description.id},
                        {"title", v.description.title},
                        {"units", v.description.units},
                        {"display", v.display},
                        {"value", v.plain},
                        {"normalized", v.normalized}});
    }
    Json leavesAlone = Json::array();
    for (const host::ParameterDescription& p : report.leavesAlone)
        leavesAlone.push_back({{"id", p.id}, {"title", p.title}});
    return jsonText({{"slot", report.slot},
                     {"name", report.name},
                     {"sets", sets},
                     {"leavesAlone", leavesAlone}});
}

} // namespace serivane::tools
