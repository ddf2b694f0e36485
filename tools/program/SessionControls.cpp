#include "tools/program/SessionControls.h"
#include "tools/report/NumberText.h"

#include <array>

namespace serivane::tools {

namespace {

constexpr std::array<std::string_view, 4> colourNames = {"off", "white", "pink", "brown"};
constexpr std::array<std::string_view, 3> controlNames = {"noise", "noise level", "mix level"};

// "-30 dB", "-30dB" or "-30".
std::optional<double> decibels(std::string_view text) {
    text = trim(text);
    if (text.size() >= 2 && equalsIgnoringCase(text.substr(text.size() - 2), "db"))
        text = trim(text.substr(0, text.size() - 2));
    return parseNumber(text);
}

} // namespace

std::string quotedControl(SessionControl control) {
    std::string text(1, '"');
    text.append(sessionControlName(control));
    return text + '"';
}

std::optional<NoiseColour> noiseColourNamed(std::string_view name) {
    for (std::size_t i = 0; i < colourNames.size(); ++i) {
        if (equalsIgnoringCase(name, colourNames[i])) return static_cast<NoiseColour>(i);
    }
    return std::nullopt;
}

std::string_view noiseColourName(NoiseColour colour) {
    return colourNames[static_cast<std::size_t>(colour)];
}

std::optional<SessionControl> sessionControlNamed(std::string_view name) {
    // "noise  level" as well as "noise level".
    std::string words;
    for (std::size_t i = 0; i < name.size(); ++i) {
        bool space = name[i] == ' ' || name[i] == '\t';
        if (!space)
            words += name[i];
        else if (!words.empty() && words.back() != ' ')
            words += ' ';
    }
    for (std::size_t i = 0; i < controlNames.size(); ++i) {
        if (equalsIgnoringCase(words, controlNames[i])) return static_cast<SessionControl>(i);
    }
    return std::nullopt;
}

std::string_view sessionControlName(SessionControl control) {
    return controlNames[static_cast<std::size_t>(control)];
}

std::optional<double> sessionValue(SessionControl control, std::string_view text,
                                   std::string& error) {
    std::string name = quotedControl(control);
    if (control == SessionControl::Noise) {
        if (std::optional<NoiseColour> colour = noiseColourNamed(trim(text)))
            return static_cast<double>(*colour);
        error = name + " takes white, pink, brown or off, not \"" + std::string(text) + "\"";
        return std::nullopt;
    }
    bool noise = control == SessionControl::NoiseLevel;
    double low = noise ? minNoiseLevel : minMixLevel;
    double high = noise ? maxNoiseLevel : maxMixLevel;
    std::optional<double> value = decibels(text);
    if (value && *value >= low && *value <= high) return value;
    error = name + " takes " + shortest(low) + " to " + shortest(high) + " dB, not \"" +
            std::string(text) + "\"";
    return std::nullopt;
}

} // namespace serivane::tools
