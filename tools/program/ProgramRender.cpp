#include "tools/program/ProgramRender.h"
#include "tools/program/ProgramSource.h"

namespace serivane::tools {

std::optional<Automation> planRender(const std::shared_ptr<host::Module>& module,
                                     const StartSettings& start, const std::string& program,
                                     double sampleRate, bool secondsGiven, double& seconds,
                                     std::string& error) {
    if (program.empty()) return Automation(start);
    ProgramScript script;
    if (!loadProgram(program, script, error)) return std::nullopt;
    if (!secondsGiven) {
        seconds = script.length();
        if (seconds <= 0.0) {
            error =
                script.file() + ": the program lasts 0 s: expected an \"end\" step or --seconds";
            return std::nullopt;
        }
    }
    return Automation::build(module, start, script, sampleRate, error);
}

} // namespace serivane::tools
