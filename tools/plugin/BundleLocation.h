#pragma once

#include <string>

namespace serivane::tools {

// The bundle installed for this user (~/.vst3/Serivane.vst3) when there is one, otherwise the
// bundle of the build tree this tool was built in.
std::string defaultBundlePath();

} // namespace serivane::tools
