#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace serivane::tools {

// The noise laid under the tones: none, or one of three colours of the same RMS level.
enum class NoiseColour { Off, White, Pink, Brown };
inline constexpr int noiseColourCount = 3; // the colours that sound

std::optional<NoiseColour> noiseColourNamed(std::string_view name);
std::string_view noiseColourName(NoiseColour colour);

// Levels of the noise bed and of a mix recording, in dB.
inline constexpr double defaultNoiseLevel = -20.0;
inline constexpr double minNoiseLevel = -120.0;
inline constexpr double maxNoiseLevel = 0.0;
inline constexpr double defaultMixLevel = -12.0;
inline constexpr double minMixLevel = -120.0;
inline constexpr double maxMixLevel = 24.0;

// What a program sets of the session around the instrument: "noise", "noise level" and
// "mix level".
enum class SessionControl { Noise, NoiseLevel, MixLevel };

std::optional<SessionControl> sessionControlNamed(std::string_view name);
std::string_view sessionControlName(SessionControl control);
// The name in quotes, for messages.
std::string quotedControl(SessionControl control);

// A program's step on a session control: from `start` the value moves to `value` (decibels, or
// a NoiseColour as a number), reached at `end`; a step at once at frame 0 has `end == start`.
struct SessionChange {
    int line = 0;
    std::int64_t start = 0;
    std::int64_t end = 0;
    SessionControl control = SessionControl::NoiseLevel;
    double value = 0.0;
};

// The value a step's text gives a control ("-30 dB", "-30", "pink"); an error says what the
// control takes when the text is not one of its values.
std::optional<double> sessionValue(SessionControl control, std::string_view text,
                                   std::string& error);

} // namespace serivane::tools
