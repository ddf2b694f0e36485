#include "tools/files/FileAccess.h"
#include "platform/win32/WideText.h"

#include <cstdio>
#include <fcntl.h>
#include <io.h>

namespace serivane::tools {

std::FILE* openFile(const std::string& path, const char* mode) {
    return _wfopen(Widened(path).c_str(), Widened(mode).c_str());
}

SNDFILE* openSoundFile(const std::string& path, int mode, SF_INFO* info) {
    return sf_wchar_open(Widened(path).c_str(), mode, info);
}

bool removeFile(const std::string& path) {
    return _wremove(Widened(path).c_str()) == 0;
}

void binaryStandardOutput() {
    std::fflush(stdout);
    _setmode(_fileno(stdout), _O_BINARY);
}

} // namespace serivane::tools
