#pragma once

#include <string>
#include <utility>
#include <vector>

namespace serivane::tools {

struct PlayOptions {
    bool help = false;
    std::string bundle;
    std::string preset;
    std::vector<std::pair<std::string, std::string>> settings; // parameter name, value text
    double seconds = 0.0;                                      // 0: until stopped
    std::string device;                                        // empty: the default output
};

struct DevicesOptions {
    bool help = false;
};

} // namespace serivane::tools
