#pragma once

#include <span>
#include <string_view>

namespace serivane::tools {

// A session program compiled into the tool from resources/programs.
struct BuiltinProgram {
    std::string_view name; // the file name without ".txt"
    std::string_view text;
};

// In order of name.
std::span<const BuiltinProgram> builtinPrograms();

} // namespace serivane::tools
