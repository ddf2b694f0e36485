#include "tools/CommandWords.h"
#include "platform/win32/WideText.h"

#include <shellapi.h>

namespace serivane::tools {

// argv holds the words in the ANSI code page, which loses every character outside it; the
// wide command line holds them all.
std::vector<std::string> commandWords(int argc, char** argv) {
    int count = 0;
    LPWSTR* arguments = CommandLineToArgvW(GetCommandLineW(), &count);
    if (!arguments) return {argv + 1, argv + argc};
    std::vector<std::string> words;
    for (int i = 1; i < count; ++i) words.push_back(Narrowed(arguments[i]));
    LocalFree(arguments);
    return words;
}

} // namespace serivane::tools
