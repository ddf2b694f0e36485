#include "tools/commands/SessionOptions.h"
#include "tools/Options.h"
#include "tools/report/NumberText.h"

#include <algorithm>
#include <cmath>
#include <optional>

namespace serivane::tools {

namespace {

void addFade(CLI::App& app, const std::string& option, double& seconds) {
    addValue(app, option, [option, &seconds](const std::string& text) {
        std::optional<double> value = parseNumber(text);
        if (!value || *value < 0.0 || *value > maxSeconds)
            throw UsageError(option + " takes seconds from 0 to " + shortest(maxSeconds) +
                             ", not \"" + text + "\"");
        seconds = *value;
    });
}

} // namespace

void addSessionOptions(CLI::App& app, SessionOptions& session) {
    addFade(app, "--fade-in", session.fadeIn);
    addFade(app, "--fade-out", session.fadeOut);
    addText(app, "--mix", session.mix);
    addValue(app, "--mix-level", [&session](const std::string& text) {
        std::optional<double> value = parseNumber(text);
        if (!value || *value < minMixLevel || *value > maxMixLevel)
            throw UsageError("--mix-level takes decibels from " + shortest(minMixLevel) + " to " +
                             shortest(maxMixLevel) + ", not \"" + text + "\"");
        session.mixLevel = *value;
        session.mixLevelGiven = true;
    });
    addNoiseOptions(app, session);
}

void addNoiseOptions(CLI::App& app, SessionOptions& session) {
    addChoice(app, "--noise", session.noise,
              {{"white", std::optional(NoiseColour::White)},
               {"pink", std::optional(NoiseColour::Pink)},
               {"brown", std::optional(NoiseColour::Brown)}});
    addValue(app, "--noise-level", [&session](const std::string& text) {
        std::optional<double> value = parseNumber(text);
        if (!value || *value < minNoiseLevel || *value > maxNoiseLevel)
            throw UsageError("--noise-level takes decibels from " + shortest(minNoiseLevel) +
                             " to " + shortest(maxNoiseLevel) + ", not \"" + text + "\"");
        session.noiseLevel = *value;
        session.noiseLevelGiven = true;
    });
    addValue(app, "--seed", [&session](const std::string& text) {
        std::optional<long long> value = parseInteger(text);
        if (!value || *value < 0 || static_cast<std::uint64_t>(*value) > maxSeed)
            throw UsageError("--seed takes a whole number from 0 to " + std::to_string(maxSeed) +
                             ", not \"" + text + "\"");
        session.seed = static_cast<std::uint64_t>(*value);
    });
}

void checkNoiseOptions(const SessionOptions& session, bool programmed) {
    if (session.noiseLevelGiven && !session.noise && !programmed)
        throw UsageError("--noise-level sets the level of a --noise bed: give one");
}

void checkSessionOptions(const SessionOptions& session, double seconds, int sampleRate,
                         const std::string& what) {
    if (session.mixLevelGiven && session.mix.empty())
        throw UsageError("--mix-level sets the level of a --mix FILE: give one");
    if (std::string problem = fadesMisfit(session, seconds, sampleRate, what); !problem.empty())
        throw UsageError(problem);
}

std::string programCutWarning(const std::string& program, double programSeconds, double seconds,
                              const std::string& what) {
    if (programSeconds <= seconds) return "";
    return "serivane: warning: --seconds cuts the program " + program + " short: the " + what +
           " lasts " + durationText(seconds) + " of its " + durationText(programSeconds) + "\n";
}

std::string fadesMisfit(const SessionOptions& session, double seconds, int sampleRate,
                        const std::string& what) {
    auto frames = [sampleRate](double s) { return std::llround(s * sampleRate); };
    if (frames(session.fadeIn) + frames(session.fadeOut) <= std::max(1LL, frames(seconds)))
        return "";
    return "--fade-in and --fade-out together (" + durationText(session.fadeIn + session.fadeOut) +
           ") are longer than the " + what + " (" + durationText(seconds) + ")";
}

std::string sessionStepsMisfit(const SessionOptions& session, const Automation& automation) {
    bool noiseChosen = session.noise.has_value();
    for (const SessionChange& change : automation.sessionChanges()) {
        if (change.control == SessionControl::Noise) noiseChosen = true;
        if (change.control == SessionControl::MixLevel && session.mix.empty())
            return automation.errorAt(
                change.line, "\"mix level\" sets the level of a --mix recording: give one");
        if (change.control == SessionControl::NoiseLevel && !noiseChosen)
            return automation.errorAt(change.line,
                                      "\"noise level\" sets the level of a noise bed: choose one "
                                      "first with --noise or a step such as \"noise = pink\"");
    }
    if (session.noiseLevelGiven && !noiseChosen)
        return "--noise-level sets the level of a noise bed: give --noise, or a program that "
               "chooses one";
    return "";
}

} // namespace serivane::tools
