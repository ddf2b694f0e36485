#include "tools/files/FileLinks.h"
#include "platform/Utf8Path.h"

#include <filesystem>

namespace serivane::tools {

namespace fs = std::filesystem;

std::string followLinks(const std::string& path) {
    // As many links in a row as Linux follows before it gives up with ELOOP.
    constexpr int maxLinks = 40;
    std::error_code ec;
    fs::path at = Utf8Path(path);
    if (!fs::is_symlink(at, ec)) return path;
    for (int link = 0; link < maxLinks && fs::is_symlink(at, ec); ++link) {
        fs::path to = fs::read_symlink(at, ec);
        if (ec) break;
        at = to.is_absolute() ? to : at.parent_path() / to;
    }
    const std::u8string text = at.u8string();
    return std::string(text.begin(), text.end());
}

bool sameFile(const std::string& a, const std::string& b) {
    std::error_code ec;
    return fs::equivalent(Utf8Path(a), Utf8Path(b), ec);
}

} // namespace serivane::tools
