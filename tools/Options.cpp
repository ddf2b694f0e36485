#include "tools/Options.h"
#include "tools/report/NumberText.h"

#include <memory>
#include <optional>

namespace serivane::tools {

CLI::Option* addRepeatable(CLI::App& app, const std::string& option,
                           std::function<void(const std::string&)> read) {
    auto check = [option, read = std::move(read)](const std::string& value) {
        if (value.empty()) throw UsageError(option + " needs a value, not an empty text");
        read(value);
    };
    return app.add_option_function<std::string>(option, check)->trigger_on_parse();
}

CLI::Option* addValue(CLI::App& app, const std::string& option,
                      std::function<void(const std::string&)> read) {
    auto first = std::make_shared<std::optional<std::string>>();
    return addRepeatable(app, option,
                         [option, first, read = std::move(read)](const std::string& value) {
                             if (*first)
                                 throw UsageError(option + " is given twice (\"" + **first +
                                                  "\" and \"" + value + "\"): give it once");
                             *first = value;
                             read(value);
                         });
}

// A bare flag reads as "true"; anything else came from "--name=VALUE".
CLI::Option* addSwitch(CLI::App& app, const std::string& option, bool& on) {
    auto noValue = [option](std::string& value) -> std::string {
        if (value != "true") throw UsageError(option + " takes no value");
        return {};
    };
    return app.add_flag(option, on)->check(CLI::Validator(noValue, ""))->trigger_on_parse();
}

CLI::Option* addOutput(CLI::App& app, std::string& output) {
    return app.add_option("output", output);
}

CLI::Option* addText(CLI::App& app, const std::string& option, std::string& text) {
    return addValue(app, option, [&text](const std::string& value) { text = value; });
}

CLI::Option* addBundle(CLI::App& app, std::string& bundle) {
    return addText(app, "--bundle", bundle);
}

CLI::Option* addPreset(CLI::App& app, std::string& preset) {
    return addText(app, "--preset", preset);
}

CLI::Option* addPresets(CLI::App& app, std::vector<std::string>& presets) {
    return addRepeatable(app, "--preset",
                         [&presets](const std::string& value) { presets.push_back(value); });
}

CLI::Option* addSettings(CLI::App& app, std::vector<Setting>& settings) {
    return addRepeatable(app, "--set", [&settings](const std::string& text) {
        auto equals = text.find('=');
        std::string name, value;
        if (equals != std::string::npos) {
            name = trim(text.substr(0, equals));
            value = trim(text.substr(equals + 1));
        }
        if (name.empty() || value.empty())
            throw UsageError("--set takes \"Parameter Name=value\", not \"" + text + "\"");
        settings.emplace_back(name, value);
    });
}

CLI::Option* addSeconds(CLI::App& app, double& seconds, double limit) {
    return addValue(app, "--seconds", [&seconds, limit](const std::string& text) {
        std::optional<double> value = parseNumber(text);
        if (!value || *value <= 0.0 || *value > limit)
            throw UsageError("--seconds takes a number above 0 and at most " + shortest(limit) +
                             ", not \"" + text + "\"");
        seconds = *value;
    });
}

CLI::Option* addScale(CLI::App& app, double& scale) {
    return addValue(app, "--scale", [&scale](const std::string& text) {
        static constexpr double scales[] = {1.0, 1.25, 1.5, 1.75, 2.0, 2.5, 3.0};
        std::optional<double> value = parseNumber(text);
        for (const double known : scales) {
            if (value && *value == known) {
                scale = known;
                return;
            }
        }
        throw UsageError("--scale takes 1, 1.25, 1.5, 1.75, 2, 2.5 or 3, not \"" + text + "\"");
    });
}

CLI::Option* addWholeNumber(CLI::App& app, const std::string& option, int& number, long long low,
                            long long high) {
    return addValue(app, option, [option, &number, low, high](const std::string& text) {
        std::optional<long long> value = parseInteger(text);
        if (!value || *value < low || *value > high)
            throw UsageError(option + " takes a whole number from " + std::to_string(low) + " to " +
                             std::to_string(high) + ", not \"" + text + "\"");
        number = static_cast<int>(*value);
    });
}

std::string listOfAlternatives(const std::vector<std::string>& words) {
    std::string text;
    for (std::size_t i = 0; i < words.size(); ++i) {
        if (i > 0) text += i + 1 == words.size() ? " or " : ", ";
        text += words[i];
    }
    return text;
}

std::string refuseForOutputCommand(std::string_view command, const std::string& output,
                                   const std::string& word) {
    std::string name(command);
    if (word.size() > 1 && word.front() == '-') return name + " does not take \"" + word + "\"";
    return name + " takes one output file, not both \"" + output + "\" and \"" + word + "\"";
}

} // namespace serivane::tools
