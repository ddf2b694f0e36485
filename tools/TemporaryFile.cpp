#include "tools/TemporaryFile.h"

#include <cstdio>
#include <cstdlib>
#include <sys/stat.h>

namespace serivane::tools {

int createTemporaryFile(std::vector<char>& pattern) {
    int fd = mkstemp(pattern.data());
    if (fd < 0) return fd;
    // mkstemp creates the file readable by its owner only; give it the usual permissions.
    mode_t mask = umask(0);
    umask(mask);
    fchmod(fd, 0666 & ~mask);
    return fd;
}

bool replaceFile(const std::string& from, const std::string& to) {
    return std::rename(from.c_str(), to.c_str()) == 0;
}

} // namespace serivane::tools
