#pragma once

#include <cstdint>
#include <ostream>

namespace serivane::tools {

// A one-line bar redrawn in place on a terminal, only when the shown percentage changes.
class ProgressBar {
public:
    ProgressBar(std::ostream& out, bool enabled, std::int64_t total);

    void update(std::int64_t done);
    void finish(); // clears the line

private:
    static constexpr int width = 40;

    std::ostream& out_;
    bool enabled_;
    std::int64_t total_;
    int shownPercent_ = -1;
};

} // namespace serivane::tools
