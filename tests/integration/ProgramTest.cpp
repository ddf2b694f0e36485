#include "BundleSession.h"

#include "tools/program/Automation.h"
#include "tools/program/AutomationPlayer.h"
#include "tools/program/BeatPlan.h"

#include <cmath>
#include <gtest/gtest.h>

namespace serivane::integration {
namespace {

using namespace Steinberg;

tools::ProgramScript script(const std::string& text) {
    tools::ProgramScript script;
    std::string error;
    EXPECT_TRUE(tools::ProgramScript::parse(text, "session.txt", script, error)) << error;
    return script;
}

tools::Automation plan(const std::string& text, double sampleRate = 48000.0) {
    std::string error;
    std::optional<tools::Automation> automation =
        tools::Automation::build(bundle(), {}, script(text), sampleRate, error);
    EXPECT_TRUE(automation) << error;
    return automation ? *automation : tools::Automation(tools::StartSettings{});
}

std::string planError(const std::string& text) {
    std::string error;
    EXPECT_FALSE(tools::Automation::build(bundle(), {}, script(text), 48000.0, error)) << text;
    return error;
}

struct Sent {
    std::int64_t frame;
    Vst::ParamID id;
    double value;
    bool operator==(const Sent&) const = default;
};

struct Played {
    std::vector<Sent> sent;
    Stereo audio;
};

// Renders a plan in blocks of at most `block` frames, noting every change the plug-in receives.
Played play(const tools::Automation& automation, int32 block, std::int64_t frames) {
    Played played;
    std::unique_ptr<host::Plugin> plugin = instantiate();
    host::ProcessDriver driver(*plugin, {48000.0, block, Vst::kSample32, Vst::kOffline});
    std::string error;
    EXPECT_TRUE(driver.start(error)) << error;
    driver.transport().setPlaying(true);
    tools::AutomationPlayer player(automation);
    std::vector<float> left(static_cast<std::size_t>(block)), right(left.size());
    float* channels[] = {left.data(), right.data()};
    for (std::int64_t done = 0; done < frames;) {
        int32 next = 0;
        auto limit = static_cast<int32>(std::min<std::int64_t>(block, frames - done));
        EXPECT_TRUE(player.prepare(driver, done, limit, next));
        host::ParameterChanges& changes = driver.parameterChanges();
        for (int32 q = 0; q < changes.getParameterCount(); ++q) {
            Vst::IParamValueQueue* queue = changes.getParameterData(q);
            for (int32 p = 0; p < queue->getPointCount(); ++p) {
                int32 offset = 0;
                double value = 0.0;
                queue->getPoint(p, offset, value);
                played.sent.push_back({done + offset, queue->getParameterId(), value});
            }
        }
        EXPECT_TRUE(driver.process(channels, next));
        played.audio.left.insert(played.audio.left.end(), left.begin(), left.begin() + next);
        played.audio.right.insert(played.audio.right.end(), right.begin(), right.begin() + next);
        done += next;
    }
    return played;
}

double plannedHz(const host::Plugin& plugin, const tools::Automation& automation, double seconds) {
    Vst::ParamID id = idOf(plugin, "Binaural");
    return plugin.toPlain(id, automation.valueAt(id, std::llround(seconds * 48000.0)).value());
}

TEST(Program, NamesAndValuesMeetThePluginWithTheLineOfTheirStep) {
    struct Case {
        const char* text;
        const char* error;
    };
    for (const Case& c : {
             Case{"00:00 Volume = 30\n00:05 Bianural = 4",
                  "session.txt:2: no parameter \"Bianural\""},
             Case{"00:00 preset Nothing like it", "session.txt:1: no preset \"Nothing like it\""},
             Case{"00:00 preset 150", "session.txt:1: no preset \"150\""},
             Case{"\n\n00:00 Binaural = 3000 Hz", "session.txt:3: \"Binaural\" takes 0.01 to 2000"},
             Case{"00:00 Tones = 17", "session.txt:1: \"Tones\" takes 1 to 16"},
             Case{"00:00 Wave = Wobble", "session.txt:1: \"Wave\" does not take \"Wobble\""},
             Case{"00:00 Wave = Saw over 1m", "session.txt:1: \"Wave\" is a list of choices"},
             Case{"00:00 Qfreq = -30 over 1m exp",
                  "session.txt:1: an equal-ratio glide needs values above 0"},
             Case{"00:00 noise = purple",
                  "session.txt:1: \"noise\" takes white, pink, brown or off"},
             Case{"00:00 noise level = -130 dB",
                  "session.txt:1: \"noise level\" takes -120 to 0 dB"},
             Case{"00:00 mix level = -6 dB over 1m exp",
                  "session.txt:1: \"mix level\" glides evenly in dB"},
         }) {
        std::string error = planError(c.text);
        EXPECT_NE(error.find(c.error), std::string::npos) << c.text << "\n" << error;
    }
}

TEST(Program, GlidesFollowThePlanAtTheControlRate) {
    std::unique_ptr<host::Plugin> plugin = instantiate();
    tools::Automation linear = plan("00:00 Binaural = 10 Hz\n00:01 Binaural = 2 Hz over 4s");
    tools::Automation ratio = plan("00:00 Binaural = 10 Hz\n00:01 Binaural = 2 Hz over 4s exp");
    for (double t : {0.0, 0.5, 1.0}) {
        EXPECT_NEAR(plannedHz(*plugin, linear, t), 10.0, 1e-9);
        EXPECT_NEAR(plannedHz(*plugin, ratio, t), 10.0, 1e-9);
    }
    EXPECT_NEAR(plannedHz(*plugin, linear, 3.0), 6.0, 1e-9);
    EXPECT_NEAR(plannedHz(*plugin, ratio, 3.0), std::sqrt(20.0), 1e-9);
    EXPECT_NEAR(plannedHz(*plugin, ratio, 2.0), 10.0 * std::pow(0.2, 0.25), 1e-9);
    for (double t : {5.0, 9.0}) EXPECT_NEAR(plannedHz(*plugin, ratio, t), 2.0, 1e-9);
    std::vector<std::int64_t> glide;
    for (tools::ChangeCursor cursor(ratio); cursor.frame() >= 0; cursor.advance()) {
        const tools::ScheduledChange& c = cursor.change();
        if (c.kind == tools::ChangeKind::Parameter && c.frame > 0) glide.push_back(c.frame);
    }
    ASSERT_EQ(glide.size(), 401u); // 400 control periods of 10 ms and the end
    for (std::size_t i = 0; i < glide.size(); ++i)
        EXPECT_EQ(glide[i], 48000 + 480 * static_cast<std::int64_t>(i));
}

TEST(Program, AGlideIsTheSameWhateverTheBlockSize) {
    tools::Automation automation =
        plan("00:00 Play Anyway = Yes\n00:00 Binaural = 10 Hz\n00:00.25 Binaural = 2 over 1s exp\n"
             "00:00.60 Volume = 30\n");
    Played small = play(automation, 64, 72000);
    Played large = play(automation, 4096, 72000);
    EXPECT_GT(small.sent.size(), 100u);
    EXPECT_EQ(small.sent, large.sent);
    float peak = 0.0f;
    for (float sample : small.audio.left) peak = std::max(peak, std::abs(sample));
    EXPECT_GT(peak, 0.05f);
    ASSERT_EQ(small.audio.left.size(), large.audio.left.size());
    // The first block ramps the output level up over its own length; from the second change
    // on, every block starts at the same frame in both runs.
    for (std::size_t f = 12000; f < small.audio.left.size(); ++f) {
        if (f == 28800) f += 4096; // the volume change ramps over one block
        ASSERT_NEAR(small.audio.left[f], large.audio.left[f], 1e-6) << f;
        ASSERT_NEAR(small.audio.right[f], large.audio.right[f], 1e-6) << f;
    }
}

TEST(Program, AGlideStartsWhereAPresetLeftTheParameter) {
    std::unique_ptr<host::Plugin> plugin = instantiate();
    tools::Automation automation =
        plan("00:00 Binaural = 20\n00:02 preset Psychic - Relaxed & alert (10.6)\n"
             "00:05 Binaural = 2 over 10s\n");
    EXPECT_NEAR(plannedHz(*plugin, automation, 1.0), 20.0, 1e-9);
    EXPECT_NEAR(plannedHz(*plugin, automation, 3.0), 10.6, 1e-9);
    EXPECT_NEAR(plannedHz(*plugin, automation, 10.0), 6.3, 1e-9);
    EXPECT_NEAR(plannedHz(*plugin, automation, 15.0), 2.0, 1e-9);
}

// Glides that overlap send their values interleaved, and a step on the frame where a glide ends
// comes after the glide's last value, so the step's value is the one that stays.
TEST(Program, OverlappingGlidesInterleaveAndAStepWhereAGlideEndsComesAfterIt) {
    std::unique_ptr<host::Plugin> plugin = instantiate();
    tools::Automation automation =
        plan("00:00 Binaural = 10\n00:00 Volume = 40\n00:01 Binaural = 2 over 1s\n"
             "00:01.5 Volume = 20 over 1s\n00:02 Binaural = 5\n");
    Vst::ParamID beat = idOf(*plugin, "Binaural");
    Vst::ParamID volume = idOf(*plugin, "Volume");
    EXPECT_NEAR(plannedHz(*plugin, automation, 2.0), 5.0, 1e-9);
    EXPECT_NEAR(plugin->toPlain(volume, automation.valueAt(volume, 96000).value()), 30.0, 1e-9);
    std::vector<Vst::ParamID> atTwo;
    for (tools::ChangeCursor cursor(automation); cursor.frame() >= 0; cursor.advance()) {
        if (cursor.frame() == 96000) atTwo.push_back(cursor.change().setting.id);
    }
    EXPECT_EQ(atTwo, (std::vector<Vst::ParamID>{beat, volume, beat}));
}

// The plan's beat is signed by the ear that is the higher, as the analysis measures it, follows
// a preset, and its mean over a span is what a measurement over the span reads.
TEST(Program, TheBeatPlanIsSignedByTheHigherEarAndAveragesOverASpan) {
    std::unique_ptr<host::Plugin> plugin = instantiate();
    tools::Automation automation =
        plan("00:00 Binaural = 10\n00:00 Binaural Pan = Right\n"
             "00:10 Binaural = 2 over 10s\n00:20 Binaural Pan = Left\n00:25 Binaural Pan = Null\n"
             "00:30 preset Psychic - Relaxed & alert (10.6)\n00:40 Binaural = 7.834\n");
    tools::BeatPlan beat(*plugin, automation, 48000.0);
    EXPECT_EQ(beat.at(5.0), 10.0);
    EXPECT_NEAR(beat.at(15.0).value(), 6.0, 0.01);
    EXPECT_EQ(beat.at(22.0), -2.0);
    EXPECT_FALSE(beat.at(27.0)) << "no beat at Null";
    EXPECT_EQ(beat.at(35.0), 10.6) << "the preset's beat on its own ear";
    EXPECT_EQ(beat.at(45.0), 7.83) << "as the instrument hears it, to 0.01 Hz";
    EXPECT_NEAR(beat.mean(10.0, 10.0).value(), 6.0, 0.01);
    EXPECT_NEAR(beat.mean(5.0, 10.0).value(), 9.0, 0.01) << "half at 10, half gliding 10 to 6";
    EXPECT_NEAR(beat.mean(24.0, 2.0).value(), -2.0, 1e-9) << "only where there is a beat";
    EXPECT_FALSE(beat.mean(25.5, 4.0));
    EXPECT_FALSE(
        tools::BeatPlan(*plugin, tools::Automation(tools::StartSettings{}), 48000.0).at(1.0))
        << "a plan that sets nothing";
}

} // namespace
} // namespace serivane::integration
