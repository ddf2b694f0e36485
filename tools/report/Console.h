#pragma once

#include <ostream>

namespace serivane::tools {

// Where a command writes: results to `out`, messages and progress to `err`.
struct Console {
    std::ostream& out;
    std::ostream& err;
    bool errIsTerminal = false;
};

// Exit codes of the tool.
inline constexpr int exitOk = 0;
inline constexpr int exitFailure = 1;
inline constexpr int exitUsage = 2;

} // namespace serivane::tools
