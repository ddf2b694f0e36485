#include "tools/files/FileAccess.h"

namespace serivane::tools {

std::FILE* openFile(const std::string& path, const char* mode) {
    return std::fopen(path.c_str(), mode);
}

SNDFILE* openSoundFile(const std::string& path, int mode, SF_INFO* info) {
    return sf_open(path.c_str(), mode, info);
}

bool removeFile(const std::string& path) {
    return std::remove(path.c_str()) == 0;
}

void binaryStandardOutput() {}

} // namespace serivane::tools
