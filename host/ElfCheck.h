#pragma once

#include <string>

namespace serivane::host {

// Checks, before a shared library is handed to the system loader, that its ELF header, program
// headers, every segment's file contents and the section header table lie inside the file. The
// loader maps segments without such checks, and touching a page past the end of a truncated file
// faults with a bus error. Answers false with `cause` set when the file is damaged or no ELF file
// at all. ELF files of another class or byte order pass unchecked: the loader refuses them from
// their header alone.
bool checkElfFile(const std::string& path, std::string& cause);

} // namespace serivane::host
