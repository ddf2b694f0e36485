#include "platform/OwnThreadLoop.h"
#include "platform/UrlOpener.h"

#include <atomic>
#include <chrono>
#include <filesystem>
#include <gtest/gtest.h>
#include <iterator>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace {

using namespace std::chrono_literals;

template <typename Done> bool WaitFor(Done done) {
    auto deadline = std::chrono::steady_clock::now() + 5s;
    while (!done() && std::chrono::steady_clock::now() < deadline) std::this_thread::sleep_for(5ms);
    return done();
}

TEST(OwnThreadLoopTest, RunsWatchesAndTimersOnItsThreadUntilStopped) {
    int fds[2];
    ASSERT_EQ(pipe(fds), 0);
    std::atomic<int> reads{0}, ticks{0};
    std::atomic<bool> otherThread{false};
    std::thread::id caller = std::this_thread::get_id();
    OwnThreadLoop loop;
    ASSERT_TRUE(loop.Watch(fds[0], [&] {
        char byte;
        if (read(fds[0], &byte, 1) == 1) ++reads;
    }));
    ASSERT_TRUE(loop.StartTimer(5, [&] {
        otherThread = std::this_thread::get_id() != caller;
        ++ticks;
    }));
    EXPECT_FALSE(loop.StartTimer(0, [] {}));
    ASSERT_EQ(write(fds[1], "ab", 2), 2);
    EXPECT_TRUE(WaitFor([&] { return reads == 2 && ticks >= 3; }));
    EXPECT_TRUE(otherThread);

    loop.StopAll();
    int stopped = ticks;
    ASSERT_EQ(write(fds[1], "c", 1), 1);
    std::this_thread::sleep_for(30ms);
    EXPECT_EQ(ticks, stopped);
    EXPECT_EQ(reads, 2);
    close(fds[0]);
    close(fds[1]);
}

TEST(UrlOpenerTest, ReportsWhetherTheOpenerSucceeded) {
    UrlOpener opens("true");
    ASSERT_TRUE(opens.Start("https://example.invalid/"));
    EXPECT_TRUE(WaitFor([&] { return opens.Poll() != UrlOpener::Outcome::Running; }));

    UrlOpener fails("false");
    ASSERT_TRUE(fails.Start("https://example.invalid/"));
    UrlOpener::Outcome outcome = UrlOpener::Outcome::Running;
    EXPECT_TRUE(WaitFor([&] {
        if (outcome == UrlOpener::Outcome::Running) outcome = fails.Poll();
        return outcome != UrlOpener::Outcome::Running;
    }));
    EXPECT_EQ(outcome, UrlOpener::Outcome::Failed);
    // A failure is reported once.
    EXPECT_EQ(fails.Poll(), UrlOpener::Outcome::Opened);

    UrlOpener missing("serivane-no-such-opener");
    EXPECT_FALSE(missing.Start("https://example.invalid/"));
    EXPECT_FALSE(opens.Start(""));
}

// An editor closed while the opener still runs leaves neither a thread of ours (which a host
// unloading the library would return into unmapped code) nor a child to reap.
TEST(UrlOpenerTest, LeavesNoThreadAndNoChildBehind) {
    const auto threads = [] {
        return std::distance(std::filesystem::directory_iterator("/proc/self/task"),
                             std::filesystem::directory_iterator());
    };
    const auto before = threads();
    {
        UrlOpener slow("sleep");
        ASSERT_TRUE(slow.Start("0.3"));
        EXPECT_EQ(threads(), before);
        EXPECT_EQ(slow.Poll(), UrlOpener::Outcome::Running);
    }
    std::this_thread::sleep_for(600ms);
    int status = 0;
    EXPECT_EQ(waitpid(-1, &status, WNOHANG), -1);
    EXPECT_EQ(errno, ECHILD);
}

} // namespace
