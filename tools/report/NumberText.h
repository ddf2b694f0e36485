#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace serivane::tools {

// A finite decimal number filling the whole text (leading and trailing blanks allowed).
std::optional<double> parseNumber(std::string_view text);

// A decimal integer filling the whole text.
std::optional<long long> parseInteger(std::string_view text);

// The shortest text that reads back as the same double ("0.01", "1500", "1e-07").
std::string shortest(double value);

// printf-style "%.*g".
std::string significant(double value, int digits);

// A duration to the nearest tenth of a second: "0:00.0", "10:08.2", from an hour "1:00:00.0".
std::string durationText(double seconds);

// A level in dB to one decimal, never "-0.0": "-11.4"; "-inf" for silence.
std::string decibelText(double amplitude);

std::string_view trim(std::string_view text);
bool equalsIgnoringCase(std::string_view a, std::string_view b);

} // namespace serivane::tools
