#pragma once

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
};

// "0:12.3 / 1:00  Schumann (7.83)  beat 7.83 Hz theta  carrier 212.4 Hz  peak -9.3 dBFS"
std::string liveLineText(const LiveStatus& status);

// One line redrawn in place on a terminal; elsewhere it shows nothing.
class LiveLine {
public:
    LiveLine(std::ostream& out, bool enabled) : out_(out), enabled_(enabled) {}

    void show(const std::string& text);
    void finish(); // clears the line

private:
    std::ostream& out_;
    bool enabled_;
    bool shown_ = false;
};

} // namespace serivane::tools
