#include "tools/report/ProgressBar.h"

#include <cmath>
#include <cstdio>

namespace serivane::tools {

namespace {

// The remaining time is a guess from the pace so far; before this share is done it is too
// rough to show.
constexpr double firstEstimate = 0.01;

} // namespace

std::string clockText(double seconds) {
    const auto whole = static_cast<long long>(std::floor(std::max(seconds, 0.0)));
    char text[32];
    if (whole >= 3600)
        std::snprintf(text, sizeof text, "%lld:%02lld:%02lld", whole / 3600, whole / 60 % 60,
                      whole % 60);
    else
        std::snprintf(text, sizeof text, "%lld:%02lld", whole / 60, whole % 60);
    return text;
}

ProgressBar::ProgressBar(std::ostream& out, bool enabled, std::int64_t total, const char* label)
    : out_(out), enabled_(enabled && total > 0), total_(total), label_(label) {}

void ProgressBar::update(std::int64_t done, double elapsed) {
    if (!enabled_) return;
    int percent = static_cast<int>(done * 100 / total_);
    auto second = static_cast<long long>(std::floor(elapsed));
    if (percent == shownPercent_ && second == shownSecond_) return;
    shownPercent_ = percent;
    shownSecond_ = second;
    int filled = percent * width / 100;
    const double share = static_cast<double>(done) / static_cast<double>(total_);
    std::string left =
        share >= firstEstimate ? clockText(elapsed * (1.0 - share) / share) + " left" : "";
    std::string line = std::string(label_) + " [" + std::string(filled, '#') +
                       std::string(width - filled, '.') + "] " + std::to_string(percent) + "%  " +
                       clockText(elapsed) + " elapsed" + (left.empty() ? "" : ", " + left);
    // Blanks cover the end of a longer line drawn before.
    std::string padding(shownLength_ > line.size() ? shownLength_ - line.size() : 0, ' ');
    shownLength_ = line.size();
    out_ << '\r' << line << padding << std::flush;
}

void ProgressBar::finish() {
    if (!enabled_ || shownPercent_ < 0) return;
    out_ << '\r' << std::string(shownLength_, ' ') << '\r' << std::flush;
}

} // namespace serivane::tools
