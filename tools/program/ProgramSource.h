#pragma once

#include "tools/program/ProgramScript.h"

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace serivane::tools {

// Reads and parses a program named by its file, or by the name of a built-in program when no
// such file exists; `interrupted` as ProgramScript::parse takes it.
bool loadProgram(const std::string& choice, ProgramScript& script, std::string& error,
                 const std::function<bool()>& interrupted = {});

// The first comment line of a program, without its "#".
std::string programTitle(std::string_view text);

// The largest program file read.
inline constexpr std::uintmax_t maxProgramBytes = 1 << 20;

} // namespace serivane::tools
