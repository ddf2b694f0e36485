#include "tools/report/JsonText.h"

namespace serivane::tools {

std::string jsonText(const nlohmann::ordered_json& json) {
    return json.dump(2, ' ', false, nlohmann::ordered_json::error_handler_t::replace) + "\n";
}

} // namespace serivane::tools
