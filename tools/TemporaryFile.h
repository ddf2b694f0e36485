#pragma once

#include <string>
#include <vector>

namespace serivane::tools {

// Creates a new file whose name is the pattern (a null-terminated path ending in XXXXXX) with
// those six characters made unique, which it writes back into the pattern. The file is open for
// writing in binary mode with the permissions of any new file. Answers its descriptor, or -1
// with errno set.
int createTemporaryFile(std::vector<char>& pattern);

// Puts the file `from` in the place of `to`, replacing a file there; false with errno set.
bool replaceFile(const std::string& from, const std::string& to);

} // namespace serivane::tools
