#include "tools/CommandLine.h"
#include "tools/CommandWords.h"

#include <iostream>
#include <unistd.h>

int main(int argc, char** argv) {
    std::vector<std::string> words = serivane::tools::commandWords(argc, argv);
    serivane::tools::Console console{std::cout, std::cerr, isatty(STDERR_FILENO) == 1};
    return serivane::tools::runCommandLine(words, console);
}
