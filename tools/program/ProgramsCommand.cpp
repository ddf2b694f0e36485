#include "tools/program/ProgramsCommand.h"
#include "tools/NumberText.h"
#include "tools/program/BuiltinPrograms.h"
#include "tools/program/ProgramSource.h"
#include "tools/program/ProgramTime.h"

#include <algorithm>

namespace serivane::tools {

int runPrograms(const std::string& name, const Console& console) {
    std::span<const BuiltinProgram> programs = builtinPrograms();
    if (!name.empty()) {
        auto found = std::find_if(programs.begin(), programs.end(), [&](const BuiltinProgram& p) {
            return equalsIgnoringCase(p.name, name);
        });
        if (found == programs.end()) {
            console.err << "serivane: no built-in program \"" << name
                        << "\" (\"serivane programs\" lists them)\n";
            return exitFailure;
        }
        console.out << found->text;
        return exitOk;
    }
    std::size_t width = 0;
    for (const BuiltinProgram& p : programs) width = std::max(width, p.name.size());
    console.out << "Built-in programs: play one with \"serivane render --program NAME OUT.wav\", "
                   "print one to copy and change with \"serivane programs NAME\".\n";
    for (const BuiltinProgram& p : programs) {
        ProgramScript script;
        std::string error;
        std::string length = ProgramScript::parse(p.text, std::string(p.name), script, error)
                                 ? clockText(script.length())
                                 : "?";
        length.insert(0, std::max<std::size_t>(length.size(), 7) - length.size(), ' ');
        console.out << "  " << p.name << std::string(width - p.name.size() + 2, ' ') << length
                    << "  " << programTitle(p.text) << '\n';
    }
    return exitOk;
}

} // namespace serivane::tools
