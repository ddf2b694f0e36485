#include "tools/InfoCommand.h"
#include "tools/JsonWriter.h"

namespace serivane::tools {

namespace {

void writeClass(JsonWriter& json, const PluginReport& r) {
    const host::ClassDescription& c = r.pluginClass;
    json.key("class").beginObject();
    json.key("name").value(c.name);
    json.key("vendor").value(c.vendor.empty() ? r.factory.vendor : c.vendor);
    json.key("version").value(c.version);
    json.key("sdkVersion").value(c.sdkVersion);
    json.key("category").value(c.category);
    json.key("subCategories").beginArray();
    for (const std::string& sub : splitSubCategories(c.subCategories)) json.value(sub);
    json.endArray();
    json.key("classId").value(c.classId);
    json.key("cardinality").value(c.cardinality);
    json.key("classFlags").value(c.classFlags);
    json.key("library").value(r.library);
    json.endObject();
}

void writeBuses(JsonWriter& json, const PluginReport& r) {
    json.key("buses").beginArray();
    for (const host::BusDescription& b : r.buses) {
        json.beginObject();
        json.key("mediaType").value(mediaTypeName(b.mediaType));
        json.key("direction").value(directionName(b.direction));
        json.key("name").value(b.name);
        json.key("channels").value(b.channelCount);
        json.key("busType").value(busTypeName(b.busType));
        json.key("flags").value(b.flags);
        json.endObject();
    }
    json.endArray();
}

void writeParameters(JsonWriter& json, const PluginReport& r) {
    json.key("parameters").beginArray();
    for (const ParameterReport& p : r.parameters) {
        const host::ParameterDescription& d = p.description;
        json.beginObject();
        json.key("id").value(static_cast<long long>(d.id));
        json.key("title").value(d.title);
        json.key("shortTitle").value(d.shortTitle);
        json.key("units").value(d.units);
        json.key("min").value(p.minimum);
        json.key("max").value(p.maximum);
        json.key("default").value(p.defaultPlain);
        json.key("defaultNormalized").value(d.defaultNormalized);
        json.key("stepCount").value(d.stepCount);
        json.key("defaultDisplay");
        if (p.defaultDisplay)
            json.value(*p.defaultDisplay);
        else
            json.null();
        json.key("unitId").value(d.unitId);
        json.key("flags").value(d.flags);
        json.endObject();
    }
    json.endArray();
}

void writePrograms(JsonWriter& json, const PluginReport& r) {
    json.key("programListName").value(r.programs.name);
    json.key("programs").beginArray();
    for (const std::string& name : r.programs.programs) json.value(name);
    json.endArray();
}

} // namespace

std::string infoJson(const PluginReport& report) {
    JsonWriter json;
    json.beginObject();
    writeClass(json, report);
    writeBuses(json, report);
    writeParameters(json, report);
    writePrograms(json, report);
    json.endObject();
    return json.text();
}

} // namespace serivane::tools
