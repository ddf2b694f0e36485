#pragma once

#include <cstddef>
#include <optional>
#include <ostream>
#include <string>

namespace serivane::tools {

// What the live line shows at one moment of a playback.
struct LiveStatus {
    double elapsed = 0.0;
    double length = 0.0; // 0: open-ended
    std::string preset;
    std::optional<double> beat;
    std::string higherEar;
    std::optional<double> carrier;
    double peak = 0.0;
    std::string program; // a program's step and next change, shown in place of the preset
};

// "0:12.3 / 1:00  Schumann (7.83)  beat 7.83 Hz theta  carrier 212.4 Hz  peak -9.3 dBFS"
std::string liveLineText(const LiveStatus& status);

// One line redrawn in place on a terminal, cut to fit its `columns` (0: unknown) of UTF-8
// characters since a line that wraps cannot be redrawn; elsewhere it shows nothing.
class LiveLine {
public:
    LiveLine(std::ostream& out, bool enabled, std::size_t columns = 0)
        : out_(out), enabled_(enabled), columns_(columns) {}

    void show(const std::string& text);
    void finish(); // clears the line

private:
    std::ostream& out_;
    bool enabled_;
    std::size_t columns_;
    bool shown_ = false;
};

} // namespace serivane::tools
