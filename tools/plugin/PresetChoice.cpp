#include "tools/plugin/PresetChoice.h"
#include "tools/report/NumberText.h"

#include <algorithm>
#include <cctype>
#include <optional>

namespace serivane::tools {

namespace {

// Candidates listed when a part fits several names; the rest are counted.
constexpr std::size_t listedCandidates = 8;

std::string lowered(std::string_view text) {
    std::string out(text);
    std::transform(out.begin(), out.end(), out.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return out;
}

std::string usageHint(const std::vector<std::string>& names) {
    return "give a slot from 0 to " + std::to_string(names.size() - 1) +
           " or a name (or a part of one) listed by \"serivane info\"";
}

std::string ambiguity(const std::vector<std::string>& names, const std::string& choice,
                      const std::vector<std::size_t>& slots) {
    std::string text =
        "the preset \"" + choice + "\" could be any of " + std::to_string(slots.size()) + ":";
    for (std::size_t i = 0; i < std::min(slots.size(), listedCandidates); ++i) {
        // Appended piece by piece: GCC 12 misreports " " + string as an overlapping copy.
        text += ' ';
        text += std::to_string(slots[i]);
        text += " \"" + names[slots[i]] + "\"";
        if (i + 1 < slots.size()) text += ',';
    }
    if (slots.size() > listedCandidates)
        text += " and " + std::to_string(slots.size() - listedCandidates) + " more";
    return text + "; give more of the name, or the slot number";
}

} // namespace

std::optional<std::size_t> choosePreset(const std::vector<std::string>& names,
                                        const std::string& choice, std::string& error) {
    if (names.empty()) {
        error = "there are no presets to choose from";
        return std::nullopt;
    }
    if (std::optional<long long> slot = parseInteger(choice)) {
        if (*slot >= 0 && static_cast<std::size_t>(*slot) < names.size())
            return static_cast<std::size_t>(*slot);
        error = "no preset \"" + choice + "\": " + usageHint(names);
        return std::nullopt;
    }
    const std::string_view wanted = trim(choice);
    auto exact = std::find(names.begin(), names.end(), wanted);
    if (exact != names.end()) return static_cast<std::size_t>(exact - names.begin());

    std::vector<std::size_t> equal, containing;
    const std::string part = lowered(wanted);
    for (std::size_t slot = 0; slot < names.size(); ++slot) {
        const std::string name = lowered(names[slot]);
        if (name == part) equal.push_back(slot);
        if (!part.empty() && name.find(part) != std::string::npos) containing.push_back(slot);
    }
    const std::vector<std::size_t>& found = equal.empty() ? containing : equal;
    if (found.size() == 1) return found.front();
    error = found.empty() ? "no preset \"" + choice + "\": " + usageHint(names)
                          : ambiguity(names, choice, found);
    return std::nullopt;
}

} // namespace serivane::tools
