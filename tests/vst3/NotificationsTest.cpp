#include "TestPlugin.h"
#include "host/ComponentHandler.h"
#include "host/EventLoop.h"
#include "host/HostContext.h"

#include "public.sdk/source/common/memorystream.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

namespace {

using serivane::host::ComponentHandler;
using serivane::host::HandlerCall;

// The plug-in in a host that offers its user-interface run loop, as Linux DAWs do.
struct Session {
    Session() { plugin->setComponentHandler(handler); }
    ~Session() { plugin->setComponentHandler(nullptr); }
    std::vector<HandlerCall> Calls() const { return handler->calls(); }
    // The host's loop going about its business for a while, its timers included.
    void RunHostLoop() { context.runFor(std::chrono::milliseconds(150)); }

    serivane::host::HostContext context;
    PluginPtr plugin = MakePlugin(kSample32, &context);
    IPtr<ComponentHandler> handler = owned(new ComponentHandler);
};

bool IsValuesRestart(const HandlerCall& call) {
    return call.kind == HandlerCall::Kind::Restart && call.restartFlags == kParamValuesChanged;
}

} // namespace

TEST(Notifications, AProgramChangeInProcessReachesTheHostFromItsRunLoopAlone) {
    Session session;
    std::thread audio([&] { ProcessChange(*session.plugin, IEffectVST3::kProgramParamId, {0.0}); });
    audio.join();
    EXPECT_TRUE(session.Calls().empty()) << "the audio thread never calls the host";
    EXPECT_EQ(session.plugin->getParamNormalized(TestPlugin::kGain), 0.25);
    String128 name{};
    session.plugin->getProgramName(IEffectVST3::kProgramListId, 0, name);
    EXPECT_TRUE(session.Calls().empty()) << "never from inside the host's own queries";

    session.RunHostLoop();
    std::vector<HandlerCall> calls = session.Calls();
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_TRUE(IsValuesRestart(calls[0]));
    EXPECT_EQ(calls[0].thread, std::this_thread::get_id());
    session.RunHostLoop();
    EXPECT_EQ(session.Calls().size(), 1u) << "delivered once";
}

TEST(Notifications, NamingAnUnfilledSlotUpdatesTheHostsProgramList) {
    Session session;
    ProcessChange(*session.plugin, IEffectVST3::kProgramParamId, {1.0});
    EXPECT_TRUE(session.Calls().empty());
    session.RunHostLoop();
    String128 name{};
    ASSERT_EQ(session.plugin->getProgramName(IEffectVST3::kProgramListId, 2, name), kResultOk);
    EXPECT_EQ(std::u16string(name), u"user preset 1");
    std::vector<HandlerCall> calls = session.Calls();
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].kind, HandlerCall::Kind::ProgramListChange);
    EXPECT_EQ(calls[0].id, IEffectVST3::kProgramListId);
    EXPECT_EQ(calls[0].programIndex, 2);

    ProcessChange(*session.plugin, IEffectVST3::kProgramParamId, {1.0});
    session.RunHostLoop();
    ASSERT_EQ(session.Calls().size(), 2u);
    EXPECT_TRUE(IsValuesRestart(session.Calls()[1])) << "a named slot is now a filled one";
    session.plugin->terminate();
    EXPECT_EQ(session.context.loop()->timerCount(), 0u) << "the timer ends with the plug-in";
}

TEST(Notifications, ARestoredStateIsAnnouncedAtOnce) {
    Session session;
    IPtr<MemoryStream> stream(new MemoryStream, false);
    static_cast<IComponent*>(session.plugin.get())->getState(stream);
    stream->seek(0, IBStream::kIBSeekSet, nullptr);
    ASSERT_EQ(static_cast<IComponent*>(session.plugin.get())->setState(stream), kResultOk);
    std::vector<HandlerCall> calls = session.Calls();
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_TRUE(IsValuesRestart(calls[0]));
}

TEST(Notifications, SeveralRenamedProgramsBecomeOneNoticeForAll) {
    HostNotifications notifications;
    notifications.FlagProgramName(3);
    notifications.FlagProgramName(3);
    HostNotifications::Pending one = notifications.Take();
    EXPECT_TRUE(one.programNames && !one.paramValues);
    EXPECT_EQ(one.program, 3);
    notifications.FlagProgramName(3);
    notifications.FlagProgramName(5);
    notifications.FlagParamValues();
    HostNotifications::Pending all = notifications.Take();
    EXPECT_TRUE(all.programNames && all.paramValues);
    EXPECT_EQ(all.program, kAllProgramInvalid);
    HostNotifications::Pending none = notifications.Take();
    EXPECT_FALSE(none.programNames || none.paramValues);
}
