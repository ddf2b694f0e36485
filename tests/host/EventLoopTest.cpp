#include "host/EventLoop.h"
#include "host/ChangeRing.h"

#include <gtest/gtest.h>
#include <unistd.h>

namespace serivane::host {
namespace {

using namespace Steinberg;
using namespace std::chrono_literals;

// A handler that counts its calls and can run an action from inside one.
class Counting : public Linux::IEventHandler, public Linux::ITimerHandler {
public:
    void PLUGIN_API onFDIsSet(Linux::FileDescriptor fd) override {
        char buffer[16];
        [[maybe_unused]] ssize_t got = read(fd, buffer, sizeof buffer);
        ++calls;
        if (action) action();
    }
    void PLUGIN_API onTimer() override {
        ++calls;
        if (action) action();
    }
    tresult PLUGIN_API queryInterface(const TUID, void**) override { return kNoInterface; }
    uint32 PLUGIN_API addRef() override { return ++references; }
    uint32 PLUGIN_API release() override { return --references; }

    int calls = 0;
    uint32 references = 1;
    std::function<void()> action;
};

class EventLoopTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(pipe(fds), 0); }
    void TearDown() override {
        close(fds[0]);
        close(fds[1]);
    }
    void poke() { ASSERT_EQ(write(fds[1], "x", 1), 1); }

    int fds[2];
    EventLoop loop;
};

TEST_F(EventLoopTest, CallsAHandlerWhenItsDescriptorIsReadableAndHoldsItWhileRegistered) {
    Counting handler;
    ASSERT_TRUE(loop.addHandler(&handler, fds[0]));
    EXPECT_EQ(handler.references, 2u);
    loop.runFor(20ms);
    EXPECT_EQ(handler.calls, 0);
    poke();
    loop.runFor(20ms);
    EXPECT_EQ(handler.calls, 1);
    EXPECT_TRUE(loop.removeHandler(&handler));
    EXPECT_FALSE(loop.removeHandler(&handler));
    EXPECT_EQ(handler.references, 1u);
    poke();
    loop.runFor(20ms);
    EXPECT_EQ(handler.calls, 1);
    EXPECT_FALSE(loop.addHandler(nullptr, fds[0]));
    EXPECT_FALSE(loop.addHandler(&handler, -1));
}

TEST_F(EventLoopTest, AHandlerMayUnregisterOthersFromItsCallback) {
    Counting first, second;
    first.action = [&] { loop.removeHandler(&second); };
    second.action = [&] { loop.removeHandler(&first); };
    loop.addHandler(&first, fds[0]);
    loop.addHandler(&second, fds[0]);
    poke();
    loop.runOnce(EventLoop::Clock::now() + 20ms);
    // Whichever ran first removed the other before it was called.
    EXPECT_EQ(first.calls + second.calls, 1);
    EXPECT_EQ(loop.handlerCount(), 1u);
    loop.removeHandler(&first);
    loop.removeHandler(&second);
}

TEST_F(EventLoopTest, TimersRepeatUntilUnregisteredEvenFromTheirOwnCallback) {
    Counting timer;
    ASSERT_TRUE(loop.addTimer(&timer, 5ms));
    EXPECT_FALSE(loop.addTimer(&timer, 0ms));
    loop.runFor(60ms);
    EXPECT_GE(timer.calls, 3);
    timer.action = [&] { loop.removeTimer(&timer); };
    int before = timer.calls;
    loop.runFor(60ms);
    EXPECT_EQ(timer.calls, before + 1);
    EXPECT_EQ(loop.timerCount(), 0u);
    EXPECT_EQ(timer.references, 1u);
}

TEST(ChangeRingTest, HandsChangesOverInOrderUntilFull) {
    ChangeRing ring;
    std::size_t pushed = 0;
    while (ring.push({static_cast<Vst::ParamID>(pushed), 0.5})) ++pushed;
    EXPECT_EQ(pushed, ChangeRing::capacity - 1);
    ParameterChange change;
    for (std::size_t i = 0; i < pushed; ++i) {
        ASSERT_TRUE(ring.pop(change));
        EXPECT_EQ(change.id, i);
    }
    EXPECT_FALSE(ring.pop(change));
    EXPECT_TRUE(ring.push({7, 1.0}));
}

} // namespace
} // namespace serivane::host
