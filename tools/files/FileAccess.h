#pragma once

#include <cstdio>
#include <sndfile.h>
#include <string>

namespace serivane::tools {

// Files opened and removed by their UTF-8 paths. The narrow C calls read a path in the ANSI
// code page on Windows, so there these go by the wide name.

// std::fopen's answer for the path.
std::FILE* openFile(const std::string& path, const char* mode);

// sf_open's answer for the path.
SNDFILE* openSoundFile(const std::string& path, int mode, SF_INFO* info);

// False with errno set when the file could not be removed.
bool removeFile(const std::string& path);

// Makes standard output pass bytes unchanged, as a sound stream needs (Windows turns "\n" into
// "\r\n" otherwise).
void binaryStandardOutput();

} // namespace serivane::tools
