#pragma once

#include "host/Plugin.h"

#include <optional>

namespace serivane::tools {

// The highest frequency a tone of the instrument sounds at its current settings, as it lays its
// tones out: the carriers sweep between "Low Freq" and "High Freq", the ears half the
// "Binaural" frequency either side of them, the lower ear held above 0 by raising both.
class ToneReach {
public:
    explicit ToneReach(const host::Plugin& plugin);

    // Read from the plug-in's current values; none when it lacks one of the parameters.
    std::optional<double> highestHertz() const;

private:
    double plain(Steinberg::Vst::ParamID id) const;

    const host::Plugin& plugin_;
    std::optional<Steinberg::Vst::ParamID> beat_, low_, high_, pan_;
};

} // namespace serivane::tools
