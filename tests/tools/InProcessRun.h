#pragma once

#include "tools/CommandLine.h"

#include <sstream>
#include <string>
#include <vector>

namespace serivane::tools {

// What one run of the tool in this process ended with and wrote.
struct Outcome {
    int code;
    std::string out;
    std::string err;
};

inline Outcome run(const std::vector<std::string>& words) {
    std::ostringstream out, err;
    int code = runCommandLine(words, Console{out, err, false});
    return {code, out.str(), err.str()};
}

} // namespace serivane::tools
