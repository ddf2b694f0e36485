#pragma once

#include "host/Descriptions.h"

#include <nlohmann/json.hpp>

#include <string>
#include <vector>

namespace serivane::host {

// The pictures of a class's editor that a bundle carries, by scale factor.
struct Snapshot {
    double scale = 1.0;
    std::string path; // relative to Contents/Resources
};

// Contents/Resources/moduleinfo.json of a bundle: what its factory reports, so that hosts can
// list the module without loading it. `snapshots` holds those of the first class.
nlohmann::ordered_json moduleInfo(const std::string& name, const FactoryDescription& factory,
                                  const std::vector<ClassDescription>& classes,
                                  const std::vector<Snapshot>& snapshots);

} // namespace serivane::host
