#include "tools/ProgressBar.h"

#include <string>

namespace serivane::tools {

ProgressBar::ProgressBar(std::ostream& out, bool enabled, std::int64_t total)
    : out_(out), enabled_(enabled && total > 0), total_(total) {}

void ProgressBar::update(std::int64_t done) {
    if (!enabled_) return;
    int percent = static_cast<int>(done * 100 / total_);
    if (percent == shownPercent_) return;
    shownPercent_ = percent;
    int filled = percent * width / 100;
    out_ << "\rRendering [" << std::string(filled, '#') << std::string(width - filled, '.') << "] "
         << percent << "%" << std::flush;
}

void ProgressBar::finish() {
    if (!enabled_ || shownPercent_ < 0) return;
    out_ << '\r' << std::string(width + 20, ' ') << '\r' << std::flush;
}

} // namespace serivane::tools
