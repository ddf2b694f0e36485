// Runs the built tool as a child process and interrupts its render with real signals.
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace serivane::tools {
namespace {

namespace fs = std::filesystem;

std::string contents(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

// Starts a render long enough to be still running when the signal comes, its messages going to
// `log`. The child starts with the signals at their default actions, whatever the test runner
// ignores.
pid_t startRender(const fs::path& target, const fs::path& log) {
    std::vector<std::string> words = {
        SERIVANE_TOOL_PATH, "render", "--bundle",      SERIVANE_BUNDLE_PATH,
        "--seconds",        "86400",  "--sample-rate", "8000",
        "--block",          "1",      "--format",      "pcm16",
        target.string()};
    std::vector<char*> argv;
    for (std::string& word : words) argv.push_back(word.data());
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, log.c_str(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_adddup2(&actions, STDOUT_FILENO, STDERR_FILENO);
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    sigset_t defaults, none;
    sigemptyset(&defaults);
    for (int signal : {SIGINT, SIGTERM, SIGHUP}) sigaddset(&defaults, signal);
    sigemptyset(&none);
    posix_spawnattr_setsigdefault(&attributes, &defaults);
    posix_spawnattr_setsigmask(&attributes, &none);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETSIGMASK);
    pid_t child = -1;
    int failed = posix_spawn(&child, argv[0], &actions, &attributes, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attributes);
    return failed == 0 ? child : -1;
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
