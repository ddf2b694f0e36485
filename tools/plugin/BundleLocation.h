#pragma once

#include <string>
#include <vector>

namespace serivane::tools {

// The places a bundle is looked for, in the order VST3 hosts search them: on Linux this user's
// ~/.vst3 (left out without HOME), /usr/lib/vst3 and /usr/local/lib/vst3; on Windows the common
// VST3 folder; last the bundle of the build tree this tool was built in.
std::vector<std::string> bundleSearchPaths();

// The first of `paths` that is a folder; the last of them when none is.
std::string firstBundle(const std::vector<std::string>& paths);

// The first bundle on the search path.
std::string defaultBundlePath();

} // namespace serivane::tools
