#include "tools/LevelMeter.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace serivane::tools {

void LevelMeter::addOne(double sample) {
    if (!std::isfinite(sample)) {
        ++nonFinite_;
        return;
    }
    peak_ = std::max(peak_, std::fabs(sample));
    sumOfSquares_ += sample * sample;
    ++count_;
}

double LevelMeter::rms() const {
    return count_ > 0 ? std::sqrt(sumOfSquares_ / count_) : 0.0;
}

std::string decibelText(double level) {
    if (level <= 0.0) return "-inf";
    char text[32];
    std::snprintf(text, sizeof text, "%.2f", 20.0 * std::log10(level));
    return text;
}

} // namespace serivane::tools
