// Runs the built tool as a child process with its standard output on a device that is full.
#include "ChildProcess.h"

#include <fcntl.h>
#include <filesystem>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

namespace serivane::tools {
namespace {

namespace fs = std::filesystem;

TEST(StandardOutput, ResultsThatCannotBeWrittenFailWithTheReason) {
    const fs::path log = fs::temp_directory_path() /
                         ("serivane-standard-output-" + std::to_string(getpid()) + ".txt");
    // A program fits into the output buffer and fails only as it is flushed at the end; the
    // information fills it several times over and fails on the way.
    for (const std::vector<std::string>& words :
         {std::vector<std::string>{"programs", "sleep-descent"},
          std::vector<std::string>{"info", "--bundle", SERIVANE_BUNDLE_PATH}}) {
        const int errors = open(log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        ASSERT_GE(errors, 0);
        const pid_t child = startTool(words, "/dev/full", errors);
        close(errors);
        ASSERT_GT(child, 0);
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFEXITED(status));
        EXPECT_EQ(WEXITSTATUS(status), 1) << words[0];
        EXPECT_EQ(contents(log),
                  "serivane: cannot write standard output: No space left on device\n");
    }
    fs::remove(log);
}

} // namespace
} // namespace serivane::tools
