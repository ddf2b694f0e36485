#include "tools/program/ProgramTime.h"
#include "tools/report/NumberText.h"

#include <cctype>
#include <cmath>
#include <cstdio>
#include <vector>

namespace serivane::tools {

namespace {

bool allDigits(std::string_view text) {
    if (text.empty()) return false;
    for (char c : text) {
        if (!std::isdigit(static_cast<unsigned char>(c))) return false;
    }
    return true;
}

// Seconds "ss" or "ss.fff", below 60.
std::optional<double> clockSeconds(std::string_view text) {
    std::string_view whole = text.substr(0, text.find('.'));
    if (whole.size() != 2 || !allDigits(whole)) return std::nullopt;
    if (whole.size() < text.size() && !allDigits(text.substr(whole.size() + 1)))
        return std::nullopt;
    std::optional<double> seconds = parseNumber(text);
    if (!seconds || *seconds >= 60.0) return std::nullopt;
    return seconds;
}

} // namespace

std::optional<double> parseClock(std::string_view text) {
    std::vector<std::string_view> fields;
    for (std::size_t start = 0;;) {
        std::size_t colon = text.find(':', start);
        fields.push_back(text.substr(start, colon - start));
        if (colon == std::string_view::npos) break;
        start = colon + 1;
    }
    if (fields.size() < 2 || fields.size() > 3) return std::nullopt;
    std::optional<double> seconds = clockSeconds(fields.back());
    std::string_view minutes = fields[fields.size() - 2];
    if (!seconds || !allDigits(minutes) || minutes.size() > 4) return std::nullopt;
    double total = *seconds + 60.0 * static_cast<double>(*parseInteger(minutes));
    if (fields.size() == 3) {
        if (minutes.size() != 2 || *parseInteger(minutes) >= 60 || !allDigits(fields[0]) ||
            fields[0].size() > 3)
            return std::nullopt;
        total += 3600.0 * static_cast<double>(*parseInteger(fields[0]));
    }
    return total;
}

std::optional<double> parseDuration(std::string_view text) {
    static constexpr struct {
        char unit;
        double seconds;
    } units[] = {{'h', 3600.0}, {'m', 60.0}, {'s', 1.0}};
    double total = 0.0;
    std::size_t next = 0; // the first unit still allowed
    while (!text.empty()) {
        std::size_t end = 0;
        while (end < text.size() &&
               (std::isdigit(static_cast<unsigned char>(text[end])) || text[end] == '.'))
            ++end;
        std::optional<double> number = parseNumber(text.substr(0, end));
        if (!number || end == text.size()) return std::nullopt;
        char unit = static_cast<char>(std::tolower(static_cast<unsigned char>(text[end])));
        while (next < std::size(units) && units[next].unit != unit) ++next;
        if (next == std::size(units)) return std::nullopt;
        total += *number * units[next++].seconds;
        text.remove_prefix(end + 1);
    }
    if (next == 0) return std::nullopt;
    return total;
}

std::string programClock(double seconds) {
    double tenths = std::round(seconds * 10.0);
    auto whole = static_cast<long long>(tenths / 10.0);
    int fraction = static_cast<int>(tenths - static_cast<double>(whole) * 10.0);
    char text[48];
    if (whole >= 3600)
        std::snprintf(text, sizeof text, "%lld:%02lld:%02lld", whole / 3600, whole / 60 % 60,
                      whole % 60);
    else
        std::snprintf(text, sizeof text, "%02lld:%02lld", whole / 60, whole % 60);
    std::string result = text;
    if (fraction != 0) {
        result += '.';
        result += std::to_string(fraction);
    }
    return result;
}

} // namespace serivane::tools
