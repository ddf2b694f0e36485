#pragma once

#include <cstdint>
#include <cstdlib>

namespace x11 {

// X11 reports presses only; a second left press soon after the first and near it is a double
// click, with the interval and distance desktops use by default. A third press starts over.
class DoubleClick {
public:
    static constexpr std::uint32_t kIntervalMs = 500;
    static constexpr int kDistance = 4;

    // True when this press completes a double click.
    bool Press(int x, int y, std::uint32_t timeMs) {
        bool isDouble = armed_ && timeMs - timeMs_ <= kIntervalMs &&
                        std::abs(x - x_) <= kDistance && std::abs(y - y_) <= kDistance;
        armed_ = !isDouble;
        x_ = x;
        y_ = y;
        timeMs_ = timeMs;
        return isDouble;
    }
    // Another button or a moved box breaks the pair.
    void Reset() { armed_ = false; }

private:
    bool armed_ = false;
    int x_ = 0;
    int y_ = 0;
    std::uint32_t timeMs_ = 0;
};

} // namespace x11
