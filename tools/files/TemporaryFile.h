#pragma once

#include <string>
#include <vector>

namespace serivane::tools {

// Creates a new file whose name is the pattern (a null-terminated path ending in XXXXXX) with
// those six characters made unique, which it writes back into the pattern. The file is open for
// writing in binary mode with the permissions of any new file. Answers its descriptor, or -1
// with errno set.
int createTemporaryFile(std::vector<char>& pattern);

// Reserves disk space for `bytes` of the open file without changing its size, so that a long
// write neither fragments nor finds the disk full halfway. False with errno set only when the
// space is not there; a file system that cannot reserve answers true.
bool reserveSpace(int fd, long long bytes);

// Gives back whatever reserved space lies beyond the end of the closed file at `path`.
void releaseReserve(const std::string& path);

// Puts the file `from` in the place of `to`, replacing a file there; false with errno set.
bool replaceFile(const std::string& from, const std::string& to);

} // namespace serivane::tools
