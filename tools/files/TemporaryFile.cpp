#include "tools/files/TemporaryFile.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

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

bool reserveSpace(int fd, long long bytes) {
#if defined(__linux__)
    if (bytes > 0 && fallocate(fd, FALLOC_FL_KEEP_SIZE, 0, bytes) != 0) return errno != ENOSPC;
#else
    (void)fd;
    (void)bytes;
#endif
    return true;
}

void releaseReserve(const std::string& path) {
    struct stat status {};
    // Cutting a file to its own size frees the blocks reserved past its end.
    if (stat(path.c_str(), &status) == 0) (void)truncate(path.c_str(), status.st_size);
}

bool replaceFile(const std::string& from, const std::string& to) {
    return std::rename(from.c_str(), to.c_str()) == 0;
}

} // namespace serivane::tools
