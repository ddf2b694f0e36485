#include "tools/plugin/BundleLocation.h"

#include <cstdlib>
#include <filesystem>

namespace serivane::tools {

std::string defaultBundlePath() {
    if (const char* home = std::getenv("HOME"); home != nullptr && *home != 0) {
        std::filesystem::path installed = std::filesystem::path(home) / ".vst3" / "Serivane.vst3";
        std::error_code ec;
        if (std::filesystem::is_directory(installed, ec)) return installed.string();
    }
    return SERIVANE_BUILD_BUNDLE;
}

} // namespace serivane::tools
