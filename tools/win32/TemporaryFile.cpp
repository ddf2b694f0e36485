#include "tools/files/TemporaryFile.h"
#include "platform/win32/WideText.h"

#include <windows.h>

#include <cerrno>
#include <fcntl.h>
#include <io.h>
#include <share.h>
#include <sys/stat.h>

namespace serivane::tools {

int createTemporaryFile(std::vector<char>& pattern) {
    constexpr int attempts = 100;
    const std::string original(pattern.data());
    for (int attempt = 0; attempt < attempts; ++attempt) {
        std::copy(original.begin(), original.end(), pattern.begin());
        if (_mktemp_s(pattern.data(), pattern.size()) != 0) return -1;
        int fd = -1;
        errno_t failed =
            _wsopen_s(&fd, Widened(pattern.data()).c_str(),
                      _O_CREAT | _O_EXCL | _O_RDWR | _O_BINARY, _SH_DENYNO, _S_IREAD | _S_IWRITE);
        if (!failed) return fd;
        if (failed != EEXIST) return -1;
    }
    errno = EEXIST;
    return -1;
}

bool reserveSpace(int, long long) {
    return true;
}

void releaseReserve(const std::string&) {}

bool replaceFile(const std::string& from, const std::string& to) {
    if (MoveFileExW(Widened(from).c_str(), Widened(to).c_str(), MOVEFILE_REPLACE_EXISTING))
        return true;
    errno = EACCES;
    return false;
}

} // namespace serivane::tools
