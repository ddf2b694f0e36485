#pragma once

#include "tools/Command.h"

#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace serivane::tools {

// A parameter to set: its name and value text as given ("Binaural", "7.83").
using Setting = std::pair<std::string, std::string>;

// Limits that keep a length in seconds sane.
inline constexpr double maxSeconds = 86400.0;

// "--name VALUE" or "--name=VALUE", read when it appears; `read` gets the value, which is never
// empty, and throws UsageError to refuse it. A second value is refused rather than dropped.
CLI::Option* addValue(CLI::App& app, const std::string& option,
                      std::function<void(const std::string&)> read);
// The same for an option that may be given again: each value is read in turn.
CLI::Option* addRepeatable(CLI::App& app, const std::string& option,
                           std::function<void(const std::string&)> read);
// "--name" alone, refusing "--name=VALUE".
CLI::Option* addSwitch(CLI::App& app, const std::string& option, bool& on);
// The one file name that is not an option.
CLI::Option* addOutput(CLI::App& app, std::string& output);

CLI::Option* addText(CLI::App& app, const std::string& option, std::string& text);
CLI::Option* addBundle(CLI::App& app, std::string& bundle);
// One "--preset NAME|SLOT".
CLI::Option* addPreset(CLI::App& app, std::string& preset);
// "--preset NAME|SLOT", repeatable, in order: partial presets combine.
CLI::Option* addPresets(CLI::App& app, std::vector<std::string>& presets);
// "--set NAME=VALUE", repeatable, in order.
CLI::Option* addSettings(CLI::App& app, std::vector<Setting>& settings);
// "--seconds S": above 0 and at most `limit`.
CLI::Option* addSeconds(CLI::App& app, double& seconds, double limit = maxSeconds);
// "--scale F": the editor's content scale, one of those a host on a high-density screen gives.
CLI::Option* addScale(CLI::App& app, double& scale);
CLI::Option* addWholeNumber(CLI::App& app, const std::string& option, int& number, long long low,
                            long long high);

// "a, b or c".
std::string listOfAlternatives(const std::vector<std::string>& words);

// One of a few words, each standing for a value.
template <typename Value>
CLI::Option* addChoice(CLI::App& app, const std::string& option, Value& value,
                       std::vector<std::pair<std::string, Value>> choices) {
    return addValue(app, option, [option, &value, choices](const std::string& text) {
        std::vector<std::string> words;
        for (const auto& [word, meaning] : choices) {
            if (word == text) {
                value = meaning;
                return;
            }
            words.push_back(word);
        }
        throw UsageError(option + " takes " + listOfAlternatives(words) + ", not \"" + text + "\"");
    });
}

// What render and snapshot answer to a second file name or an unknown option.
std::string refuseForOutputCommand(std::string_view command, const std::string& output,
                                   const std::string& word);

} // namespace serivane::tools
