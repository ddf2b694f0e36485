// Runs the built tool as a child process and interrupts its render with real signals.
#include "ChildProcess.h"

#include <csignal>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace serivane::tools {
namespace {

namespace fs = std::filesystem;

// Starts a render long enough to be still running when the signal comes.
pid_t startRender(const fs::path& target, const fs::path& log) {
    return startTool({"render", "--bundle", SERIVANE_BUNDLE_PATH, "--seconds", "86400",
                      "--sample-rate", "8000", "--block", "1", "--format", "pcm16",
                      target.string()},
                     log);
}

// Whether the render has written a good part of its partial file, so it is past loading.
bool renderUnderway(const fs::path& folder, const fs::path& target) {
    std::string prefix = ".";
    prefix += target.filename().string();
    prefix += ".partial-";
    for (const fs::directory_entry& entry : fs::directory_iterator(folder)) {
        if (entry.path().filename().string().rfind(prefix, 0) == 0 && entry.file_size() > 65536)
            return true;
    }
    return false;
}

std::vector<std::string> namesIn(const fs::path& folder) {
    std::vector<std::string> names;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    return names;
}

class RenderInterruptionTest : public ::testing::Test {
protected:
    void SetUp() override {
        root = fs::temp_directory_path() /
               ("serivane-render-interruption-" + std::to_string(getpid()));
        fs::remove_all(root);
        fs::create_directories(root / "out");
    }
    void TearDown() override { fs::remove_all(root); }

    fs::path root;
};

TEST_F(RenderInterruptionTest, ASignalRemovesThePartialFileAndEndsWithTheSignalsStatus) {
    struct Case {
        int signal;
        bool targetExists;
    };
    for (const Case& c : {Case{SIGINT, false}, Case{SIGTERM, true}, Case{SIGHUP, true}}) {
        fs::path folder = root / "out";
        fs::path target = folder / "take.wav";
        fs::path log = root / "log.txt";
        if (c.targetExists) std::ofstream(target) << "an older take";
        pid_t child = startRender(target, log);
        ASSERT_GT(child, 0);
        int status = 0;
        bool ended = false;
        while (!ended && !renderUnderway(folder, target)) {
            ended = waitpid(child, &status, WNOHANG) == child;
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        ASSERT_FALSE(ended) << "the render ended before the signal: " << contents(log);
        kill(child, c.signal);
        ASSERT_EQ(waitpid(child, &status, 0), child);

        int shellStatus = WIFSIGNALED(status) ? 128 + WTERMSIG(status) : WEXITSTATUS(status);
        EXPECT_EQ(shellStatus, 128 + c.signal) << strsignal(c.signal);
        EXPECT_TRUE(WIFSIGNALED(status)) << "the parent sees the signal, as shells expect";
        EXPECT_NE(contents(log).find("render interrupted"), std::string::npos) << contents(log);
        std::vector<std::string> left = namesIn(folder);
        if (c.targetExists) {
            EXPECT_EQ(left, std::vector<std::string>{"take.wav"});
            EXPECT_EQ(contents(target), "an older take");
        } else {
            EXPECT_TRUE(left.empty()) << left.front();
        }
        fs::remove_all(folder);
        fs::create_directories(folder);
    }
}

} // namespace
} // namespace serivane::tools
