#pragma once

#include <string>

namespace serivane::tools {

// The file that `path` names once its symbolic links are followed, whether or not that file
// exists yet; `path` itself when it is no link. Writing there keeps the links in place.
std::string followLinks(const std::string& path);

// Whether both paths name one existing file: the same path, or another way to it through `.`,
// `..`, a symbolic link or a hard link.
bool sameFile(const std::string& a, const std::string& b);

} // namespace serivane::tools
