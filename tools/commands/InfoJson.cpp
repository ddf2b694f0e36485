#include "tools/commands/InfoCommand.h"
#include "tools/report/JsonText.h"

namespace serivane::tools {

namespace {

// Members stay in the order they are written.
using Json = nlohmann::ordered_json;

Json classObject(const PluginReport& r) {
    const host::ClassDescription& c = r.pluginClass;
    return {{"name", c.name},
            {"vendor", c.vendor.empty() ? r.factory.vendor : c.vendor},
            {"version", c.version},
            {"sdkVersion", c.sdkVersion},
            {"category", c.category},
            {"subCategories", splitSubCategories(c.subCategories)},
            {"classId", c.classId},
            {"cardinality", c.cardinality},
            {"classFlags", c.classFlags},
            {"library", r.library}};
}

Json busArray(const PluginReport& r) {
    Json buses = Json::array();
    for (const host::BusDescription& b : r.buses) {
        buses.push_back({{"mediaType", mediaTypeName(b.mediaType)},
                         {"direction", directionName(b.direction)},
                         {"name", b.name},
                         {"channels", b.channelCount},
                         {"busType", busTypeName(b.busType)},
                         {"flags", b.flags}});
    }
    return buses;
}

Json parameterArray(const PluginReport& r) {
    Json parameters = Json::array();
    for (const ParameterReport& p : r.parameters) {
        const host::ParameterDescription& d = p.description;
        parameters.push_back(
            {{"id", d.id},
             {"title", d.title},
             {"shortTitle", d.shortTitle},
             {"units", d.units},
             {"min", p.minimum},
             {"max", p.maximum},
             {"default", p.defaultPlain},
             {"defaultNormalized", d.defaultNormalized},
             {"stepCount", d.stepCount},
             {"defaultDisplay", p.defaultDisplay ? Json(*p.defaultDisplay) : Json()},
             {"unitId", d.unitId},
             {"flags", d.flags},
             {"choices", p.choices}});
    }
    return parameters;
}

} // namespace

std::string infoJson(const PluginReport& report) {
    Json json = {{"class", classObject(report)},
                 {"buses", busArray(report)},
                 {"parameters", parameterArray(report)},
                 {"programListName", report.programs.name},
                 {"programs", report.programs.programs}};
    return jsonText(json);
}

} // namespace serivane::tools
