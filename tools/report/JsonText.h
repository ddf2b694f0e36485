#pragma once

#include <nlohmann/json.hpp>
#include <string>

namespace serivane::tools {

// Indented by two blanks and ending in a newline. Texts that are not UTF-8 get replacement
// characters rather than failing; numbers that are not finite are written as null.
std::string jsonText(const nlohmann::ordered_json& json);

} // namespace serivane::tools
