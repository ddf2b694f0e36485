#include "tools/program/BeatPlan.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace serivane::tools {

namespace {

constexpr double none = std::numeric_limits<double>::quiet_NaN();

const host::ParameterDescription* titled(const std::vector<host::ParameterDescription>& all,
                                         const char* title) {
    auto found = std::find_if(all.begin(), all.end(), [title](const host::ParameterDescription& p) {
        return p.title == title;
    });
    return found != all.end() ? &*found : nullptr;
}

} // namespace

BeatPlan::BeatPlan(const host::Plugin& plugin, const Automation& automation, double sampleRate)
    : sampleRate_(sampleRate) {
    std::vector<host::ParameterDescription> parameters = plugin.parameters();
    const host::ParameterDescription* beat = titled(parameters, "Binaural");
    const host::ParameterDescription* pan = titled(parameters, "Binaural Pan");
    if (beat == nullptr) return;
    double hz = none;
    double sign = 1.0;
    for (ChangeCursor cursor(automation); cursor.frame() >= 0; cursor.advance()) {
        const ScheduledChange& change = cursor.change();
        if (change.kind == ChangeKind::Preset) continue;
        const Steinberg::Vst::ParamID id = change.setting.id;
        if (id == beat->id) {
            hz = std::round(plugin.toPlain(id, change.setting.normalized) * 100.0) / 100.0;
        } else if (pan != nullptr && id == pan->id) {
            std::string side = plugin.displayText(id, change.setting.normalized).value_or("");
            sign = side == "Null" ? none : side == "Left" ? -1.0 : 1.0;
        } else {
            continue;
        }
        const double value = sign * hz;
        if (!pieces_.empty() && pieces_.back().frame == change.frame) pieces_.pop_back();
        const bool same =
            !pieces_.empty() &&
            (pieces_.back().hz == value || (std::isnan(value) && std::isnan(pieces_.back().hz)));
        if (!same) pieces_.push_back({change.frame, value});
    }
}

std::size_t BeatPlan::pieceAt(std::int64_t frame) const {
    auto after =
        std::upper_bound(pieces_.begin(), pieces_.end(), frame,
                         [](std::int64_t f, const Piece& piece) { return f < piece.frame; });
    return static_cast<std::size_t>(after - pieces_.begin());
}

std::optional<double> BeatPlan::at(double seconds) const {
    std::size_t after = pieceAt(std::llround(seconds * sampleRate_));
    if (after == 0 || std::isnan(pieces_[after - 1].hz)) return std::nullopt;
    return pieces_[after - 1].hz;
}

std::optional<double> BeatPlan::mean(double start, double seconds) const {
    const std::int64_t first = std::llround(start * sampleRate_);
    const std::int64_t last = std::llround((start + seconds) * sampleRate_);
    double sum = 0.0;
    std::int64_t counted = 0;
    for (std::size_t i = std::max<std::size_t>(pieceAt(first), 1); i <= pieces_.size(); ++i) {
        const Piece& piece = pieces_[i - 1];
        if (piece.frame >= last) break;
        const std::int64_t from = std::max(first, piece.frame);
        const std::int64_t to = i < pieces_.size() ? std::min(last, pieces_[i].frame) : last;
        if (std::isnan(piece.hz) || to <= from) continue;
        sum += piece.hz * static_cast<double>(to - from);
        counted += to - from;
    }
    if (counted == 0) return std::nullopt;
    return sum / static_cast<double>(counted);
}

} // namespace serivane::tools
