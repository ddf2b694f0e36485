#include "tools/CommandWords.h"

namespace serivane::tools {

std::vector<std::string> commandWords(int argc, char** argv) {
    return {argv + 1, argv + argc};
}

} // namespace serivane::tools
