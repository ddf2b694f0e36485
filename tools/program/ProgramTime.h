#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace serivane::tools {

// A clock time from the start of a program: "mm:ss" or "hh:mm:ss", seconds with an optional
// fraction ("1:30.5"); minutes may pass 59 in the short form ("90:00").
std::optional<double> parseClock(std::string_view text);

// A duration of one or more number-and-unit parts in the order h, m, s: "30s", "5m", "1.5h",
// "1m30s".
std::optional<double> parseDuration(std::string_view text);

// "mm:ss" below an hour, "h:mm:ss" from there, with tenths when the time has them.
std::string programClock(double seconds);

} // namespace serivane::tools
