#pragma once

#include "host/Plugin.h"

#include <optional>
#include <string>

namespace serivane::tools {

// The beat the instrument is set to sound: the "Binaural" frequency, and which ear is the
// higher one by "Binaural Pan" ("Null" sounds no beat).
struct BeatSetting {
    std::optional<double> hertz; // none when the plug-in sounds no beat
    std::string higherEar;       // "left" or "right"
};

// Read from the plug-in's current parameter values; call it while no block is processed.
BeatSetting readBeatSetting(const host::Plugin& plugin);

// The instrument's name for the brainwave band of a beat, in lower case ("theta").
std::string bandName(double hertz);

} // namespace serivane::tools
