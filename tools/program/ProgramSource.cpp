#include "tools/program/ProgramSource.h"
#include "platform/Utf8Path.h"
#include "tools/program/BuiltinPrograms.h"
#include "tools/report/NumberText.h"

#include <filesystem>
#include <fstream>
#include <sstream>

namespace serivane::tools {

namespace {

bool readFile(const std::filesystem::path& path, std::string& text, std::string& error) {
    std::error_code code;
    if (!std::filesystem::is_regular_file(path, code)) {
        error = path.string() + ": not a program file";
        return false;
    }
    if (std::filesystem::file_size(path, code) > maxProgramBytes) {
        error = path.string() + ": expected a program file of at most 1 MiB";
        return false;
    }
    std::ifstream in(path, std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    if (!in) {
        error = path.string() + ": cannot be read";
        return false;
    }
    text = content.str();
    return true;
}

} // namespace

bool loadProgram(const std::string& choice, ProgramScript& script, std::string& error,
                 const std::function<bool()>& interrupted) {
    std::error_code code;
    if (std::filesystem::exists(Utf8Path(choice), code)) {
        std::string text;
        return readFile(Utf8Path(choice), text, error) &&
               ProgramScript::parse(text, choice, script, error, interrupted);
    }
    for (const BuiltinProgram& program : builtinPrograms()) {
        if (equalsIgnoringCase(program.name, choice))
            return ProgramScript::parse(program.text, std::string(program.name), script, error,
                                        interrupted);
    }
    error = "no program file or built-in program \"" + choice +
            "\" (\"serivane programs\" lists the built-in ones)";
    return false;
}

std::string programTitle(std::string_view text) {
    for (std::size_t start = 0; start < text.size();) {
        std::size_t end = text.find('\n', start);
        std::string_view line = trim(text.substr(start, end - start));
        if (!line.empty() && line.front() == '#') {
            line = trim(line.substr(1));
            if (!line.empty()) return std::string(line);
        }
        if (end == std::string_view::npos) break;
        start = end + 1;
    }
    return "";
}

} // namespace serivane::tools
