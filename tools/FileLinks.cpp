#include "tools/FileLinks.h"

#include <filesystem>

namespace serivane::tools {

namespace fs = std::filesystem;

std::string followLinks(const std::string& path) {
    // As many links in a row as Linux follows before it gives up with ELOOP.
    constexpr int maxLinks = 40;
    std::error_code ec;
    if (!fs::is_symlink(path, ec)) return path;
    fs::path at(path);
    for (int link = 0; link < maxLinks && fs::is_symlink(at, ec); ++link) {
        fs::path to = fs::read_symlink(at, ec);
        if (ec) break;
        at = to.is_absolute() ? to : at.parent_path() / to;
    }
    return at.string();
}

bool sameFile(const std::string& a, const std::string& b) {
    std::error_code ec;
    return fs::equivalent(a, b, ec);
}

} // namespace serivane::tools
