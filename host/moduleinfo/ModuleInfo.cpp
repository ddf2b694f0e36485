#include "host/moduleinfo/ModuleInfo.h"

#include "pluginterfaces/base/ipluginbase.h"

#include <cstddef>

namespace serivane::host {

using namespace Steinberg;

namespace {

// "Fx|Delay" as ["Fx", "Delay"].
nlohmann::ordered_json splitCategories(const std::string& text) {
    nlohmann::ordered_json list = nlohmann::ordered_json::array();
    if (text.empty()) return list;
    std::size_t start = 0;
    for (std::size_t end; (end = text.find('|', start)) != std::string::npos; start = end + 1)
        list.push_back(text.substr(start, end - start));
    list.push_back(text.substr(start));
    return list;
}

nlohmann::ordered_json classInfo(const ClassDescription& c, const std::vector<Snapshot>& shots) {
    nlohmann::ordered_json snapshots = nlohmann::ordered_json::array();
    for (const Snapshot& s : shots)
        snapshots.push_back({{"Scale Factor", s.scale}, {"Path", s.path}});
    return {{"CID", c.classId},
            {"Category", c.category},
            {"Name", c.name},
            {"Vendor", c.vendor},
            {"Version", c.version},
            {"SDKVersion", c.sdkVersion},
            {"Sub Categories", splitCategories(c.subCategories)},
            {"Class Flags", c.classFlags},
            {"Cardinality", c.cardinality},
            {"Snapshots", snapshots}};
}

} // namespace

nlohmann::ordered_json moduleInfo(const std::string& name, const FactoryDescription& factory,
                                  const std::vector<ClassDescription>& classes,
                                  const std::vector<Snapshot>& snapshots) {
    nlohmann::ordered_json list = nlohmann::ordered_json::array();
    for (std::size_t i = 0; i < classes.size(); ++i)
        list.push_back(classInfo(classes[i], i == 0 ? snapshots : std::vector<Snapshot>()));
    return {{"Name", name},
            {"Version", classes.empty() ? std::string() : classes[0].version},
            {"Factory Info",
             {{"Vendor", factory.vendor},
              {"URL", factory.url},
              {"E-Mail", factory.email},
              {"Flags",
               {{"Unicode", (factory.flags & PFactoryInfo::kUnicode) != 0},
                {"Classes Discardable", (factory.flags & PFactoryInfo::kClassesDiscardable) != 0},
                {"Component Non Discardable",
                 (factory.flags & PFactoryInfo::kComponentNonDiscardable) != 0}}}}},
            {"Compatibility", nlohmann::ordered_json::array()},
            {"Classes", list}};
}

} // namespace serivane::host
