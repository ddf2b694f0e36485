#pragma once

#include "tools/Command.h"
#include "tools/program/Automation.h"
#include "tools/program/SessionControls.h"

#include <cstdint>
#include <optional>
#include <string>

namespace serivane::tools {

inline constexpr std::uint64_t maxSeed = 4294967295;

// How a session is shaped beyond the instrument: fades, a recording and a noise laid under the
// tones.
struct SessionOptions {
    double fadeIn = 0.0;  // seconds
    double fadeOut = 0.0; // seconds
    std::string mix;      // a recording laid under the tones; empty: none
    double mixLevel = defaultMixLevel;
    bool mixLevelGiven = false;
    std::optional<NoiseColour> noise; // a noise bed under the tones; none: no bed
    double noiseLevel = defaultNoiseLevel;
    bool noiseLevelGiven = false;
    std::uint64_t seed = 1; // of the noise bed's generator
};

// "--fade-in S", "--fade-out S", "--mix FILE" and "--mix-level DB", and the noise options.
void addSessionOptions(CLI::App& app, SessionOptions& session);
// "--noise white|pink|brown", "--noise-level DB" and "--seed N".
void addNoiseOptions(CLI::App& app, SessionOptions& session);

// Refuses a noise level without a noise bed, which without a program only --noise can choose.
void checkNoiseOptions(const SessionOptions& session, bool programmed);

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

// Why a program's steps on the mix or the noise bed do not fit the options ("mix level" without
// a --mix recording, "noise level" before any noise is chosen); empty when they fit.
std::string sessionStepsMisfit(const SessionOptions& session, const Automation& automation);

} // namespace serivane::tools
