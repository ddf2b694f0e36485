# Writes OUTPUT, a C++ file defining ResourceTable() over the files in ENTRIES
# ("id|file|id|file..."). Run by serivane_add_resource_table at build time.
string(REPLACE "|" ";" entries "${ENTRIES}")
list(LENGTH entries count)
set(arrays "")
set(rows "")
set(index 0)
set(number 0)
while(index LESS count)
    math(EXPR next "${index} + 1")
    list(GET entries ${index} id)
    list(GET entries ${next} file)
    file(READ "${file}" hex HEX)
    string(LENGTH "${hex}" digits)
    math(EXPR size "${digits} / 2")
    string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
    string(REGEX REPLACE "(0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,)" "\\1\n    "
           bytes "${bytes}")
    # A trailing zero keeps the array non-empty for empty files; size excludes it.
    string(APPEND arrays "const std::uint8_t kResource${number}[] = {\n    ${bytes}0};\n")
    string(APPEND rows "    {${id}, kResource${number}, ${size}},\n")
    math(EXPR index "${index} + 2")
    math(EXPR number "${number} + 1")
endwhile()

if(number EQUAL 0)
    set(body "    return {};\n")
    set(table "")
else()
    set(body "    return kTable;\n")
    set(table "const ResourceEntry kTable[] = {\n${rows}};\n")
endif()
file(WRITE "${OUTPUT}.tmp" "// Generated from the resource files; do not edit.
#include \"platform/Resources.h\"

namespace {
${arrays}${table}} // namespace

std::span<const ResourceEntry> ResourceTable() {
${body}}
")
file(COPY_FILE "${OUTPUT}.tmp" "${OUTPUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUTPUT}.tmp")
