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

// Whether the process has a handler of its own for `signal`, as it has from the start of its
// command on.
bool catches(pid_t process, int signal) {
    std::ifstream status("/proc/" + std::to_string(process) + "/status");
    for (std::string line; std::getline(status, line);) {
        if (line.rfind("SigCgt:", 0) == 0)
            return (std::stoull(line.substr(7), nullptr, 16) >> (signal - 1) & 1) != 0;
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

TEST_F(RenderInterruptionTest, ASignalWhileALongProgramLoadsEndsTheRenderAtOnce) {
    // A megabyte of glides that all run side by side: reading it takes a few tenths of a
    // second. The signal comes as soon as the tool catches it, before any of its names is
    // looked up.
    fs::path program = root / "glides.txt";
    {
        std::ofstream out(program);
        for (int i = 0; i < 46000; ++i) out << "0:00 g" << i << "=1 over 9h\n";
    }
    fs::path target = root / "out" / "take.wav";
    fs::path log = root / "log.txt";
    pid_t child = startTool({"render", "--bundle", SERIVANE_BUNDLE_PATH, "--program",
                             program.string(), "--seconds", "1", target.string()},
                            log);
    ASSERT_GT(child, 0);
    int status = 0;
    bool ended = false;
    while (!ended && !catches(child, SIGINT)) {
        ended = waitpid(child, &status, WNOHANG) == child;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    ASSERT_FALSE(ended) << "the render ended before the signal: " << contents(log);
    kill(child, SIGINT);
    for (auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
         !ended && std::chrono::steady_clock::now() < deadline;
         std::this_thread::sleep_for(std::chrono::milliseconds(10)))
        ended = waitpid(child, &status, WNOHANG) == child;
    if (!ended) {
        kill(child, SIGKILL);
        waitpid(child, nullptr, 0);
    }
    ASSERT_TRUE(ended) << "still loading 10 s after the signal";
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGINT) << contents(log);
    EXPECT_EQ(contents(log),
              "serivane: render interrupted: nothing was written to " + target.string() + "\n");
    EXPECT_TRUE(namesIn(root / "out").empty());
}

} // namespace
} // namespace serivane::tools
