#include "tools/plugin/BundleLocation.h"

#include <cstdlib>
#include <filesystem>

namespace serivane::tools {

namespace fs = std::filesystem;

namespace {

// An environment variable naming a folder, or an empty path.
fs::path folderFromEnvironment(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? fs::path(value) : fs::path();
}

} // namespace

std::vector<std::string> bundleSearchPaths() {
    std::vector<std::string> paths;
#ifdef _WIN32
    if (fs::path common = folderFromEnvironment("CommonProgramFiles"); !common.empty())
        paths.push_back((common / "VST3" / "Serivane.vst3").string());
#else
    if (fs::path home = folderFromEnvironment("HOME"); !home.empty())
        paths.push_back((home / ".vst3" / "Serivane.vst3").string());
    paths.push_back("/usr/lib/vst3/Serivane.vst3");
    paths.push_back("/usr/local/lib/vst3/Serivane.vst3");
#endif
    paths.push_back(SERIVANE_BUILD_BUNDLE);
    return paths;
}

std::string firstBundle(const std::vector<std::string>& paths) {
    for (const std::string& path : paths) {
        std::error_code ec;
        if (fs::is_directory(path, ec)) return path;
    }
    return paths.empty() ? std::string() : paths.back();
}

std::string defaultBundlePath() {
    return firstBundle(bundleSearchPaths());
}

} // namespace serivane::tools
