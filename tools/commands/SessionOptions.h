#pragma once

#include "tools/Command.h"

#include <string>

namespace serivane::tools {

// The level of a mix recording when none is given, in dB: under the tones, not over them.
inline constexpr double defaultMixLevel = -12.0;
inline constexpr double minMixLevel = -120.0;
inline constexpr double maxMixLevel = 24.0;

// How a session is shaped beyond the instrument: fades, and a recording laid under the tones.
struct SessionOptions {
    double fadeIn = 0.0;  // seconds
    double fadeOut = 0.0; // seconds
    std::string mix;      // a recording laid under the tones; empty: none
    double mixLevel = defaultMixLevel;
    bool mixLevelGiven = false;
};

// "--fade-in S", "--fade-out S", "--mix FILE" and "--mix-level DB".
void addSessionOptions(CLI::App& app, SessionOptions& session);

// Refuses a mix level without a recording, and fades that together do not fit into `what` (the
// render, the playback) of `seconds`, counted in frames at `sampleRate` as the render counts them.
void checkSessionOptions(const SessionOptions& session, double seconds, int sampleRate,
                         const std::string& what);

// The warning that `--seconds` stops `what` (the render, the playback) before the program ends;
// empty when it does not.
std::string programCutWarning(const std::string& program, double programSeconds, double seconds,
                              const std::string& what);

// Why the fades do not fit into a session of `seconds` (a program's length, known only once it
// is read); empty when they fit.
std::string fadesMisfit(const SessionOptions& session, double seconds, int sampleRate,
                        const std::string& what);

} // namespace serivane::tools
