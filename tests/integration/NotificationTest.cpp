#include "BundleSession.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

namespace serivane::integration {
namespace {

using namespace Steinberg;
using host::HandlerCall;

constexpr Vst::ParamID programId = 0x70727374; // 'prst'

// A program change sent with a block that the host's audio thread processes.
void changeProgramOnAudioThread(host::ProcessDriver& driver, int slot) {
    std::thread audio([&] {
        driver.parameterChanges().add(programId, slot / 149.0);
        EXPECT_TRUE(driver.flush());
    });
    audio.join();
}

// The host's user-interface loop running for a while, the host asking the plug-in nothing.
void runHostLoop(host::Plugin& plugin) {
    plugin.context().runFor(std::chrono::milliseconds(150));
}

// The host learns of what it did not change itself through its handlers, on its own thread: new
// values after a program change or a restored state, new names in its program menu. It need
// not ask: a host whose menu shows with the editor closed hears of it too.
TEST(HostNotifications, ProgramChangesRestoredStatesAndNamedSlotsReachTheHost) {
    auto plugin = instantiate();
    ASSERT_NE(plugin, nullptr);
    host::ProcessDriver driver(*plugin, {});
    std::string error;
    ASSERT_TRUE(driver.start(error)) << error;
    host::ComponentHandler& handler = plugin->handler();
    handler.clear();

    changeProgramOnAudioThread(driver, 87);
    EXPECT_TRUE(handler.calls().empty()) << "nothing is sent from the audio thread";
    runHostLoop(*plugin);
    std::vector<HandlerCall> calls = handler.calls();
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].kind, HandlerCall::Kind::Restart);
    EXPECT_EQ(calls[0].restartFlags, Vst::kParamValuesChanged);
    EXPECT_EQ(calls[0].thread, std::this_thread::get_id());
    EXPECT_NEAR(plainValue(*plugin, "Binaural"), 7.83, 1e-9);
    handler.clear();

    changeProgramOnAudioThread(driver, 140);
    runHostLoop(*plugin);
    calls = handler.calls();
    std::vector<host::ProgramListDescription> lists = plugin->programLists();
    ASSERT_EQ(lists.size(), 1u);
    EXPECT_EQ(lists[0].programs[140], "user preset 1");
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].kind, HandlerCall::Kind::ProgramListChange);
    EXPECT_EQ(calls[0].id, programId);
    EXPECT_EQ(calls[0].programIndex, 140);
    handler.clear();

    std::vector<char> state;
    ASSERT_TRUE(plugin->saveState(state, error)) << error;
    ASSERT_TRUE(plugin->loadState(state, error)) << error;
    calls = handler.calls();
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].restartFlags, Vst::kParamValuesChanged);
}

} // namespace
} // namespace serivane::integration
