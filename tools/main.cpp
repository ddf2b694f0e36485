#include "tools/CommandLine.h"
#include "tools/CommandWords.h"
#include "tools/report/StandardOutput.h"

#include <iostream>
#include <unistd.h>

int main(int argc, char** argv) {
    std::vector<std::string> words = serivane::tools::commandWords(argc, argv);
    serivane::tools::StandardOutput output;
    serivane::tools::Console console{std::cout, std::cerr, isatty(STDERR_FILENO) == 1};
    return output.finish(serivane::tools::runCommandLine(words, console), std::cerr);
}
