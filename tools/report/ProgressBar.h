#pragma once

#include <cstdint>
#include <ostream>
#include <string>

namespace serivane::tools {

// A one-line bar redrawn in place on a terminal with the time taken and the time still to go,
// only when the shown percentage or second changes.
class ProgressBar {
public:
    // `label` names the work ("Rendering", "Analyzing"), a text that outlives the bar.
    ProgressBar(std::ostream& out, bool enabled, std::int64_t total,
                const char* label = "Rendering");

    // Whether the bar is drawn at all; a hidden one needs no clock readings.
    bool enabled() const { return enabled_; }
    // `done` of the total after `elapsed` seconds.
    void update(std::int64_t done, double elapsed);
    void finish(); // clears the line

private:
    static constexpr int width = 40;

    std::ostream& out_;
    bool enabled_;
    std::int64_t total_;
    const char* label_;
    int shownPercent_ = -1;
    long long shownSecond_ = -1;
    std::size_t shownLength_ = 0;
};

// "0:07", "12:34", "1:02:03"; whole seconds, rounded down.
std::string clockText(double seconds);

} // namespace serivane::tools
