#include "tools/program/LiveProgram.h"
#include "tools/program/ProgramSource.h"

namespace serivane::tools {

bool LiveProgram::load(const std::shared_ptr<host::Module>& module, const host::Plugin& plugin,
                       const StartSettings& start, const std::string& choice, double sampleRate,
                       std::string& error, const std::function<bool()>& interrupted) {
    if (!loadProgram(choice, script_, error, interrupted)) return false;
    automation_ = Automation::build(module, start, script_, sampleRate, error, interrupted);
    if (!automation_) return false;
    guide_.emplace(script_);
    beat_.emplace(plugin, *automation_, sampleRate);
    return true;
}

} // namespace serivane::tools
