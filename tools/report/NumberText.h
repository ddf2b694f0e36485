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

std::string_view trim(std::string_view text);
bool equalsIgnoringCase(std::string_view a, std::string_view b);

} // namespace serivane::tools
