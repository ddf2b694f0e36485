// The device callback's side of playback, on the built bundle, without a sound device.
#include "tools/session/StreamRenderer.h"
#include "HeapCount.h"

#include "host/Module.h"
#include "host/Plugin.h"
#include "tools/plugin/PluginSettings.h"
#include "tools/program/Automation.h"
#include "tools/program/AutomationPlayer.h"

#include <cmath>
#include <gtest/gtest.h>

namespace serivane::tools {
namespace {

using namespace Steinberg;

constexpr double rate = 48000.0;

// A loaded, started instrument playing the Schumann preset.
class Instrument {
public:
    Instrument() {
        std::string error;
        module_ = host::Module::load(SERIVANE_BUNDLE_PATH, error);
        if (module_) plugin_ = host::Plugin::create(module_, error);
        if (!plugin_) ADD_FAILURE() << error;
        if (!plugin_) return;
        driver_ = std::make_unique<host::ProcessDriver>(
            *plugin_, host::ProcessConfig{rate, 512, Vst::kSample32, Vst::kRealtime});
        EXPECT_TRUE(driver_->start(error)) << error;
        driver_->transport().setPlaying(true);
        EXPECT_TRUE(applyPresetAndSettings(*plugin_, *driver_, {"87"}, {}, error)) << error;
    }
    host::ProcessDriver& driver() { return *driver_; }

private:
    std::shared_ptr<host::Module> module_;
    std::unique_ptr<host::Plugin> plugin_;
    std::unique_ptr<host::ProcessDriver> driver_;
};

// Renders `frames` frames in callbacks of the given sizes, in turn; answers them interleaved.
std::vector<float> renderInCallbacks(StreamRenderer& renderer, std::size_t frames,
                                     const std::vector<std::size_t>& sizes) {
    std::vector<float> out(2 * frames);
    for (std::size_t done = 0, turn = 0; done < frames; ++turn) {
        std::size_t count = std::min(sizes[turn % sizes.size()], frames - done);
        renderer.render(out.data() + 2 * done, static_cast<std::int64_t>(count));
        done += count;
    }
    return out;
}

double largestStep(const std::vector<float>& interleaved, std::size_t from, std::size_t to) {
    double step = 0.0;
    for (std::size_t f = std::max<std::size_t>(from, 1); f < to; ++f) {
        for (std::size_t c = 0; c < 2; ++c)
            step = std::max(
                step, std::fabs(double(interleaved[2 * f + c]) - interleaved[2 * (f - 1) + c]));
    }
    return step;
}

TEST(StreamRenderer, CallbacksOfAnySizeGetTheSameSoundAsWholeBlocks) {
    Instrument whole, pieces;
    StreamRenderer byBlock(whole.driver(), 0, 4800);
    StreamRenderer bySize(pieces.driver(), 0, 4800);
    std::vector<float> expected = renderInCallbacks(byBlock, 24000, {512});
    std::vector<float> played = renderInCallbacks(bySize, 24000, {1, 37, 600, 1024, 100, 511});
    ASSERT_EQ(played.size(), expected.size());
    EXPECT_EQ(played, expected);
    EXPECT_GT(largestStep(played, 0, 24000), 0.0) << "the instrument sounds";
    EXPECT_EQ(bySize.framesPlayed(), 24000);
    EXPECT_GT(bySize.takePeak(), 0.0f);
    EXPECT_EQ(bySize.takePeak(), 0.0f) << "taken";
}

TEST(StreamRenderer, AStopFadesOutWithoutAStepAndStaysSilent) {
    Instrument instrument;
    StreamRenderer renderer(instrument.driver(), 0, 4800);
    std::vector<float> before = renderInCallbacks(renderer, 48000, {700});
    renderer.requestStop();
    std::vector<float> after = renderInCallbacks(renderer, 9600, {700});
    EXPECT_TRUE(renderer.finished());
    EXPECT_EQ(renderer.framesPlayed(), 48000 + 4800);
    before.insert(before.end(), after.begin(), after.end());
    double own = largestStep(before, 38400, 48000);
    EXPECT_LE(largestStep(before, 48000, 57600), own);
    EXPECT_NE(before[2 * 48000 + 2000], 0.0f) << "still fading";
    for (std::size_t i = 2 * (48000 + 4799); i < before.size(); ++i) ASSERT_EQ(before[i], 0.0f);
}

TEST(StreamRenderer, ALengthEndsWithTheFadeOnItsLastFrame) {
    Instrument instrument;
    StreamRenderer renderer(instrument.driver(), 30000, 4800);
    std::vector<float> out = renderInCallbacks(renderer, 36000, {333});
    EXPECT_TRUE(renderer.finished());
    EXPECT_EQ(renderer.framesPlayed(), 30000);
    EXPECT_NE(out[2 * 25000], 0.0f);
    EXPECT_LE(largestStep(out, 25200, 36000), largestStep(out, 20000, 25200));
    for (std::size_t i = 2 * 29999; i < out.size(); ++i) ASSERT_EQ(out[i], 0.0f);
}

// The callback reaches the heap neither itself nor through the plug-in, once the first blocks
// have run; changes from another thread reach the plug-in through the ring.
TEST(StreamRenderer, TheCallbackAllocatesNothing) {
    Instrument instrument;
    StreamRenderer renderer(instrument.driver(), 0, 4800);
    renderInCallbacks(renderer, 4096, {512});
    std::vector<float> out(2 * 4096);
    countHeapCalls(true);
    for (int i = 0; i < 50; ++i) {
        EXPECT_TRUE(renderer.queueChange(0, i / 50.0));
        renderer.render(out.data(), 1000);
    }
    renderer.requestStop();
    for (int i = 0; i < 10; ++i) renderer.render(out.data(), 1000);
    countHeapCalls(false);
    EXPECT_EQ(heapCalls(), 0);
    EXPECT_TRUE(renderer.finished());
    EXPECT_FALSE(renderer.failed());
}

// A program with a preset, glides and a step while a glide runs, planned at 48 kHz.
Automation programmed(const std::shared_ptr<host::Module>& module) {
    ProgramScript script;
    std::string error;
    EXPECT_TRUE(ProgramScript::parse("00:00 Play Anyway = Yes\n00:00 Binaural = 10\n"
                                     "00:00.5 preset 87\n00:00.6 Binaural = 3 over 0.5s exp\n"
                                     "00:00.85 Volume = 30\n00:01.2 Low Freq = 300 over 0.3s\n",
                                     "session.txt", script, error))
        << error;
    std::optional<Automation> automation = Automation::build(module, {}, script, rate, error);
    EXPECT_TRUE(automation) << error;
    return automation ? *automation : Automation(StartSettings{});
}

// A started plug-in of the bundle, as play makes it.
struct Started {
    explicit Started(const std::shared_ptr<host::Module>& module) {
        std::string error;
        plugin = host::Plugin::create(module, error);
        EXPECT_TRUE(plugin) << error;
        driver = std::make_unique<host::ProcessDriver>(
            *plugin, host::ProcessConfig{rate, 512, Vst::kSample32, Vst::kRealtime});
        EXPECT_TRUE(driver->start(error)) << error;
        driver->transport().setPlaying(true);
    }
    std::unique_ptr<host::Plugin> plugin;
    std::unique_ptr<host::ProcessDriver> driver;
};

// The callback sends a program's changes on the frames an offline render sends them, whatever
// size the device asks for: the same sound, sample for sample.
TEST(StreamRenderer, AProgramPlaysAsTheOfflineRenderPlaysIt) {
    std::string error;
    std::shared_ptr<host::Module> module = host::Module::load(SERIVANE_BUNDLE_PATH, error);
    ASSERT_TRUE(module) << error;
    Automation automation = programmed(module);
    constexpr std::size_t frames = 80000;

    Started offline(module);
    AutomationPlayer player(automation);
    std::vector<float> left(512), right(512), expected;
    float* channels[] = {left.data(), right.data()};
    for (std::int64_t done = 0; done < std::int64_t(frames);) {
        int32 next = 0;
        ASSERT_TRUE(player.prepare(*offline.driver, done, 512, next));
        ASSERT_TRUE(offline.driver->process(channels, next));
        for (int32 f = 0; f < next; ++f) expected.insert(expected.end(), {left[f], right[f]});
        done += next;
    }

    Started live(module);
    StreamRenderer renderer(*live.driver, 0, 4800);
    renderer.follow(automation);
    std::vector<float> played = renderInCallbacks(renderer, frames, {1, 37, 600, 1024, 100, 511});
    expected.resize(2 * frames);
    EXPECT_EQ(played, expected);
    EXPECT_GT(largestStep(played, 0, frames), 0.0) << "the instrument sounds";
    EXPECT_FALSE(renderer.failed());
}

// Nor does it once a program moves the plug-in: a preset, glides, fades.
TEST(StreamRenderer, TheCallbackAllocatesNothingWhileAProgramPlays) {
    std::string error;
    std::shared_ptr<host::Module> module = host::Module::load(SERIVANE_BUNDLE_PATH, error);
    ASSERT_TRUE(module) << error;
    Automation automation = programmed(module);
    Started live(module);
    StreamRenderer renderer(*live.driver, 96000, 4800);
    renderer.follow(automation);
    renderer.shape(SessionShaping(SessionFades(2400, 24000, 96000), std::nullopt));
    renderInCallbacks(renderer, 4096, {512});
    std::vector<float> out(2 * 1000);
    countHeapCalls(true);
    for (int i = 0; i < 100; ++i) renderer.render(out.data(), 1000);
    countHeapCalls(false);
    EXPECT_EQ(heapCalls(), 0);
    EXPECT_TRUE(renderer.finished());
    EXPECT_FALSE(renderer.failed());
}

} // namespace
} // namespace serivane::tools
