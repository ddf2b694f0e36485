#include "ToolRun.h"

#include "tools/CommandLine.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <sstream>
#include <unistd.h>

namespace serivane::integration {

namespace fs = std::filesystem;

Outcome runTool(std::vector<std::string> words) {
    static const std::vector<std::string> loading = {"info", "render", "play", "edit", "snapshot"};
    const bool loads =
        !words.empty() && std::find(loading.begin(), loading.end(), words[0]) != loading.end();
    if (loads && std::find(words.begin(), words.end(), "--bundle") == words.end())
        words.insert(words.begin() + 1, {"--bundle", SERIVANE_BUNDLE_PATH});
    std::ostringstream out, err;
    int code = tools::runCommandLine(words, tools::Console{out, err, false});
    return {code, out.str(), err.str()};
}

ScratchFolder::ScratchFolder(const std::string& prefix) {
    const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string name = prefix;
    if (test) name.append("-").append(test->name());
    path_ = fs::temp_directory_path() / name.append("-").append(std::to_string(getpid()));
    fs::remove_all(path_);
    fs::create_directories(path_);
}

ScratchFolder::~ScratchFolder() {
    std::error_code ignored;
    fs::remove_all(path_, ignored);
}

} // namespace serivane::integration
