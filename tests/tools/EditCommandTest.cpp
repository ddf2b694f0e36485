// Runs `serivane edit` as a child process on a virtual X server and closes it as a user would.
#include "ChildProcess.h"

#include "host/VirtualDisplay.h"
#include "host/XInput.h"

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <thread>

// After the test framework, whose names Xlib's macros would replace.
#include <X11/Xlib.h>

namespace serivane::tools {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

class EditCommandTest : public ::testing::Test {
protected:
    void SetUp() override {
        // The editor's fonts come through fontconfig, which keeps its configuration for the
        // life of the process. When the tool unloads the plug-in at exit, fontconfig goes with
        // it, so a leak checker in the child would count that memory as lost.
        const char* asan = std::getenv("ASAN_OPTIONS");
        savedAsanOptions = asan ? asan : "";
        setenv("ASAN_OPTIONS", (savedAsanOptions + ":detect_leaks=0").c_str(), 1);
        std::string reason;
        if (!display.start(1024, 768, reason)) GTEST_SKIP() << "no virtual X server: " << reason;
        input = host::XInput::connect();
        ASSERT_NE(input, nullptr);
        log = fs::temp_directory_path() / ("serivane-edit-" + std::to_string(getpid()) + ".txt");
    }
    void TearDown() override {
        setenv("ASAN_OPTIONS", savedAsanOptions.c_str(), 1);
        if (child > 0) {
            kill(child, SIGKILL);
            waitpid(child, nullptr, 0);
        }
        fs::remove(log);
    }

    // Starts the editor and waits for its window; 0 when it never showed.
    std::uint32_t startEditor() {
        child =
            startTool({"edit", "--bundle", SERIVANE_BUNDLE_PATH, "--set", "Binaural=7.83"}, log);
        for (auto deadline = std::chrono::steady_clock::now() + 20s;
             std::chrono::steady_clock::now() < deadline; std::this_thread::sleep_for(20ms)) {
            if (std::uint32_t window = input->findWindow("Serivane")) return window;
            if (waitpid(child, &status, WNOHANG) == child) {
                child = -1;
                break;
            }
        }
        return 0;
    }

    // Waits for the child to end; false when it is still running after a while.
    bool ended() {
        for (auto deadline = std::chrono::steady_clock::now() + 10s;
             std::chrono::steady_clock::now() < deadline; std::this_thread::sleep_for(10ms)) {
            if (waitpid(child, &status, WNOHANG) == child) {
                child = -1;
                return true;
            }
        }
        return false;
    }

    host::VirtualDisplay display;
    std::unique_ptr<host::XInput> input;
    fs::path log;
    std::string savedAsanOptions;
    pid_t child = -1;
    int status = 0;
};

TEST_F(EditCommandTest, ClosingTheWindowEndsTheToolCleanly) {
    std::uint32_t window = startEditor();
    ASSERT_NE(window, 0u) << contents(log);
    // The editor is embedded in the window at its size.
    Display* x = XOpenDisplay(nullptr);
    ASSERT_NE(x, nullptr);
    XWindowAttributes attributes{};
    XGetWindowAttributes(x, window, &attributes);
    EXPECT_EQ(attributes.width, 600);
    EXPECT_EQ(attributes.height, 475);
    // The host's window shows before the plug-in has opened its editor inside it.
    unsigned count = 0;
    for (auto deadline = std::chrono::steady_clock::now() + 10s;
         count == 0 && std::chrono::steady_clock::now() < deadline;
         std::this_thread::sleep_for(20ms)) {
        ::Window root = 0, parent = 0, *children = nullptr;
        XQueryTree(x, window, &root, &parent, &children, &count);
        if (children) XFree(children);
    }
    EXPECT_EQ(count, 1u) << "the plug-in's editor window";
    XCloseDisplay(x);

    std::this_thread::sleep_for(300ms);
    input->requestClose(window);
    ASSERT_TRUE(ended()) << contents(log);
    EXPECT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << contents(log);
    EXPECT_NE(contents(log).find("close its window to quit"), std::string::npos) << contents(log);
    EXPECT_EQ(input->findWindow("Serivane"), 0u);
}

TEST_F(EditCommandTest, ASignalClosesTheEditorAndEndsWithTheSignalsStatus) {
    ASSERT_NE(startEditor(), 0u) << contents(log);
    std::this_thread::sleep_for(300ms);
    kill(child, SIGTERM);
    ASSERT_TRUE(ended()) << contents(log);
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGTERM) << contents(log);
    EXPECT_EQ(contents(log).find("serivane:"), std::string::npos) << contents(log);
}

} // namespace
} // namespace serivane::tools
