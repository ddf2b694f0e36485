#include "EngineSetup.h"

#include <gtest/gtest.h>

#include <tuple>

namespace {

constexpr double kHostRate = 44100.0;
constexpr double kCheckIntervalUs = 200'000.0;

// A host delivering blocks in real time and the watchdog checking every 200 ms from 100 ms on,
// both on a simulated clock in microseconds, so no scheduling delay can change the outcome.
// Uneven pacing alternates gaps of 1.25 and 0.75 block lengths, as hosts with large buffers do.
// One tone is enough: the watchdog looks at blocks, not at what they hold.
class PacedHost {
public:
    PacedHost(int frames, bool uneven) : frames_(frames), uneven_(uneven), out_(frames) {
        EngineValues values = DefaultValues();
        values[3] = 1;
        values[11] = 1;
        StartEngine(engine_, values, kHostRate);
    }

    // Runs the clock for `seconds`: blocks arrive every frames / rate seconds, or none while
    // paused, when the host resumes at the end of the pause.
    void Run(double seconds, bool paused = false) {
        const double end = now_ + seconds * 1e6;
        for (;;) {
            const bool block = !paused && nextBlock_ <= nextCheck_;
            const double due = block ? nextBlock_ : nextCheck_;
            if (due > end) break;
            now_ = due;
            if (block) {
                RenderBlock();
            } else {
                engine_.WatchdogCheck();
                nextCheck_ += kCheckIntervalUs;
            }
        }
        now_ = end;
        if (paused) nextBlock_ = end;
    }

    // Fade-ins from silence that started after the one at start-up.
    int FadesFromSilence() const { return fadesFromSilence_; }

private:
    void RenderBlock() {
        engine_.Render(nullptr, out_.channels, frames_, true, 0);
        const Crossfade& fade = engine_.Voices().levelFades[0][0];
        const bool fading = fade.active && fade.from == 0.0;
        if (fading && !fading_ && now_ > 0.0) ++fadesFromSilence_;
        fading_ = fading;
        const double length = frames_ * 1e6 / kHostRate;
        nextBlock_ += uneven_ ? length * (++blocks_ % 2 == 1 ? 1.25 : 0.75) : length;
    }

    ToneEngine engine_{false, false};
    int frames_;
    bool uneven_;
    int blocks_ = 0;
    StereoBlock out_;
    double now_ = 0.0;
    double nextBlock_ = 0.0;
    double nextCheck_ = 100'000.0;
    bool fading_ = false;
    int fadesFromSilence_ = 0;
};

// {frames per block, uneven pacing}: 16384 and 8192 at 44.1 kHz last longer than or nearly as
// long as the check interval, 512 much less.
class Watchdog : public testing::TestWithParam<std::tuple<int, bool>> {};

TEST_P(Watchdog, FadesInAfterARealPauseButNotBetweenLargeBlocks) {
    const auto [frames, uneven] = GetParam();
    PacedHost host(frames, uneven);
    host.Run(30.0);
    EXPECT_EQ(host.FadesFromSilence(), 0);
    host.Run(2.0, true);
    host.Run(1.0);
    EXPECT_EQ(host.FadesFromSilence(), 1);
}

INSTANTIATE_TEST_SUITE_P(PacedBlocks, Watchdog,
                         testing::Combine(testing::Values(16384, 8192, 512), testing::Bool()));

TEST(Watchdog, AStallFadesEveryToneInFromSilence) {
    ToneEngine engine(false, false);
    StartEngine(engine, DefaultValues());
    StereoBlock out(512);
    for (int i = 0; i < 60; ++i) engine.Render(nullptr, out.channels, 512, true, 0);
    ASSERT_FALSE(engine.Voices().levelFades[0][0].active);
    engine.WatchdogCheck();
    engine.WatchdogCheck();
    engine.Render(nullptr, out.channels, 240, true, 0);
    for (int i = 0; i < engine.Settings().toneCount; ++i) {
        for (int e = 0; e < kEars; ++e) {
            const Crossfade& fade = engine.Voices().levelFades[e][i];
            EXPECT_TRUE(fade.active);
            EXPECT_EQ(fade.from, 0.0);
            EXPECT_NEAR(fade.progress, 0.01, 1e-12);
        }
    }
    for (int i = 0; i < 100; ++i) engine.Render(nullptr, out.channels, 240, true, 0);
    EXPECT_FALSE(engine.Voices().levelFades[1][6].active);
}

} // namespace
