#include "tools/commands/SessionStage.h"

#include <array>
#include <cmath>
#include <vector>

namespace serivane::tools {

namespace {

std::vector<SessionChange> changesOf(const Automation* automation, SessionControl control) {
    std::vector<SessionChange> changes;
    if (automation == nullptr) return changes;
    for (const SessionChange& change : automation->sessionChanges()) {
        if (change.control == control) changes.push_back(change);
    }
    return changes;
}

LevelCurve levelCurve(double start, const std::vector<SessionChange>& changes) {
    std::vector<ValueCurve::Move> moves;
    for (const SessionChange& c : changes) moves.push_back({c.start, c.end, c.value});
    return LevelCurve(start, moves);
}

// How much of `colour` (white, pink, brown as 0, 1, 2) sounds while `sounding` does.
double weightOf(std::size_t colour, NoiseColour sounding) {
    return sounding != NoiseColour::Off && static_cast<std::size_t>(sounding) - 1 == colour ? 1.0
                                                                                            : 0.0;
}

std::optional<NoiseBed> noiseBed(const SessionOptions& session, const Automation* automation,
                                 int sampleRate) {
    std::vector<SessionChange> colours = changesOf(automation, SessionControl::Noise);
    NoiseColour start = session.noise.value_or(NoiseColour::Off);
    std::array<bool, noiseColourCount> used{};
    bool any = false;
    for (std::size_t c = 0; c < noiseColourCount; ++c) {
        used[c] = weightOf(c, start) > 0.0;
        for (const SessionChange& change : colours)
            used[c] = used[c] || weightOf(c, static_cast<NoiseColour>(change.value)) > 0.0;
        any = any || used[c];
    }
    if (!any) return std::nullopt;
    std::array<ValueCurve, noiseColourCount> weights;
    for (std::size_t c = 0; c < noiseColourCount; ++c) {
        std::vector<ValueCurve::Move> moves;
        for (const SessionChange& change : colours)
            moves.push_back(
                {change.start, change.end, weightOf(c, static_cast<NoiseColour>(change.value))});
        weights[c] = ValueCurve(weightOf(c, start), moves);
    }
    return NoiseBed(
        session.seed, sampleRate,
        levelCurve(session.noiseLevel, changesOf(automation, SessionControl::NoiseLevel)), weights,
        used);
}

} // namespace

SessionShaping sessionStage(const SessionOptions& session, std::optional<SoundBuffer>& mix,
                            const Automation* automation, int sampleRate,
                            std::int64_t totalFrames) {
    auto frames = [sampleRate](double seconds) { return std::llround(seconds * sampleRate); };
    SessionFades fades(frames(session.fadeIn), frames(session.fadeOut), totalFrames);
    std::optional<AmbientMix> ambient;
    if (mix) {
        ambient.emplace(
            *mix, sampleRate,
            levelCurve(session.mixLevel, changesOf(automation, SessionControl::MixLevel)));
        mix->samples = {};
    }
    return SessionShaping(fades, std::move(ambient), noiseBed(session, automation, sampleRate));
}

bool shapesSession(const SessionOptions& session, const std::optional<SoundBuffer>& mix,
                   const Automation* automation) {
    return session.fadeIn > 0.0 || session.fadeOut > 0.0 || mix || session.noise ||
           !changesOf(automation, SessionControl::Noise).empty();
}

} // namespace serivane::tools
