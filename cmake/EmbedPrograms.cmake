# Writes OUTPUT, a C++ file defining the built-in session programs over the files in FILES
# ("a.txt|b.txt..."), each named by its file name without the extension. Run at build time.
string(REPLACE "|" ";" files "${FILES}")
list(SORT files)
set(arrays "")
set(rows "")
set(number 0)
foreach(file IN LISTS files)
    get_filename_component(name "${file}" NAME_WE)
    file(READ "${file}" hex HEX)
    string(LENGTH "${hex}" digits)
    math(EXPR size "${digits} / 2")
    string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
    string(REGEX REPLACE "(0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,)" "\\1\n    "
           bytes "${bytes}")
    string(APPEND arrays "const char kProgram${number}[] = {\n    ${bytes}0};\n")
    string(APPEND rows "    {\"${name}\", {kProgram${number}, ${size}}},\n")
    math(EXPR number "${number} + 1")
endforeach()

file(WRITE "${OUTPUT}.tmp" "// Generated from resources/programs; do not edit.
#include \"tools/program/BuiltinPrograms.h\"

namespace serivane::tools {
namespace {
${arrays}const BuiltinProgram kPrograms[] = {
${rows}};
} // namespace

std::span<const BuiltinProgram> builtinPrograms() {
    return kPrograms;
}

} // namespace serivane::tools
")
file(COPY_FILE "${OUTPUT}.tmp" "${OUTPUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUTPUT}.tmp")
