#include "tools/program/ProgramRender.h"
#include "tools/program/ProgramSource.h"

namespace serivane::tools {

bool resolveStart(const host::Plugin& plugin, const std::vector<std::string>& presets,
                  const std::vector<Setting>& settings, StartSettings& start, std::string& error) {
    for (const std::string& preset : presets) {
        start.presets.emplace_back();
        if (!resolvePreset(plugin, preset, start.presets.back(), error)) return false;
    }
    for (const auto& [name, value] : settings) {
        start.settings.emplace_back();
        if (!resolveSetting(plugin, name, value, start.settings.back(), error)) return false;
    }
    return true;
}

std::optional<Automation> planRender(const std::shared_ptr<host::Module>& module,
                                     const StartSettings& start, const std::string& program,
                                     double sampleRate, bool secondsGiven, double& seconds,
                                     double& programSeconds, std::string& error,
                                     const std::function<bool()>& interrupted) {
    programSeconds = 0.0;
    if (program.empty()) return Automation(start);
    ProgramScript script;
    if (!loadProgram(program, script, error, interrupted)) return std::nullopt;
    programSeconds = script.length();
    if (!secondsGiven) {
        seconds = script.length();
        if (seconds <= 0.0) {
            error =
                script.file() + ": the program lasts 0:00.0: expected an \"end\" step or --seconds";
            return std::nullopt;
        }
    }
    return Automation::build(module, start, script, sampleRate, error, interrupted);
}

} // namespace serivane::tools
