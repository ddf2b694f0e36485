#pragma once

#include "host/Plugin.h"
#include "tools/program/Automation.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace serivane::tools {

// The beat a plan asks for over time, in Hz and signed as the analysis measures it: positive
// when the right ear is the higher, negative when the left is. Made before anything plays;
// reading it allocates nothing, so a thread watching a playback may.
class BeatPlan {
public:
    // From the plan's values of "Binaural" (quantised to 0.01 Hz, as the instrument hears it)
    // and "Binaural Pan", a preset's among them, converted to Hz by `plugin`.
    BeatPlan(const host::Plugin& plugin, const Automation& automation, double sampleRate);

    // None where the plan sounds no beat ("Binaural Pan" at "Null").
    std::optional<double> at(double seconds) const;

    // The mean over a span, which is what a measurement over it reads; none when no part of the
    // span has a beat.
    std::optional<double> mean(double start, double seconds) const;

private:
    // The beat from `frame` until the next piece; NaN for none.
    struct Piece {
        std::int64_t frame;
        double hz;
    };

    std::size_t pieceAt(std::int64_t frame) const;

    std::vector<Piece> pieces_;
    double sampleRate_;
};

} // namespace serivane::tools
