#include "tools/session/ValueCurve.h"

#include <cmath>

namespace serivane::tools {

ValueCurve::ValueCurve(double start, const std::vector<Move>& moves) : held_(start) {
    double value = start;
    for (const Move& move : moves) {
        // A move that starts while the one before runs starts where that one has got to.
        if (!segments_.empty()) {
            Segment& before = segments_.back();
            if (move.start < before.end) {
                value = before.valueAt(move.start);
                before.end = move.start;
                before.to = value;
            } else {
                value = before.to;
            }
        }
        segments_.push_back({move.start, std::max(move.end, move.start), value, move.value});
    }
}

double LevelCurve::gainOf(double decibels) {
    return std::pow(10.0, decibels / 20.0);
}

} // namespace serivane::tools
