#include "tools/report/NumberText.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdio>

namespace serivane::tools {

std::string_view trim(std::string_view text) {
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front())))
        text.remove_prefix(1);
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back())))
        text.remove_suffix(1);
    return text;
}

bool equalsIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(a[i])) !=
            std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    }
    return true;
}

// from_chars rejects a leading '+', which people do type.
template <typename Number> std::optional<Number> parseWhole(std::string_view text) {
    text = trim(text);
    if (!text.empty() && text.front() == '+') text.remove_prefix(1);
    Number value{};
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return value;
}

std::optional<double> parseNumber(std::string_view text) {
    std::optional<double> value = parseWhole<double>(text);
    if (value && !std::isfinite(*value)) return std::nullopt;
    return value;
}

std::optional<long long> parseInteger(std::string_view text) {
    return parseWhole<long long>(text);
}

std::string shortest(double value) {
    char buffer[32];
    auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, ec == std::errc() ? end : buffer);
}

std::string significant(double value, int digits) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.*g", digits, value);
    return buffer;
}

std::string durationText(double seconds) {
    const auto tenths = std::llround(std::max(seconds, 0.0) * 10.0);
    const long long whole = tenths / 10;
    char text[48];
    if (whole >= 3600)
        std::snprintf(text, sizeof text, "%lld:%02lld:%02lld.%lld", whole / 3600, whole / 60 % 60,
                      whole % 60, tenths % 10);
    else
        std::snprintf(text, sizeof text, "%lld:%02lld.%lld", whole / 60, whole % 60, tenths % 10);
    return text;
}

std::string decibelText(double amplitude) {
    if (!(amplitude > 0.0)) return "-inf";
    // Rounded first, so that a level just below 0 dB reads "0.0" rather than "-0.0".
    const double tenths = std::round(20.0 * std::log10(amplitude) * 10.0) / 10.0 + 0.0;
    char text[32];
    std::snprintf(text, sizeof text, "%.1f", tenths);
    return text;
}

} // namespace serivane::tools
