#include "tools/analysis/BeatAnalysis.h"
#include "InProcessRun.h"
#include "tools/CommandLine.h"

#include <cmath>
#include <filesystem>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <numbers>
#include <random>
#include <sndfile.h>
#include <sstream>
#include <unistd.h>

namespace serivane::tools {
namespace {

namespace fs = std::filesystem;

constexpr int rate = 48000;
constexpr double twoPi = 2.0 * std::numbers::pi;

// The sample of one channel at a time in seconds.
using Signal = std::function<double(int channel, double seconds)>;

Signal tones(double leftHz, double rightHz, double amplitude = 0.5) {
    return [=](int channel, double t) {
        return amplitude * std::sin(twoPi * (channel == 0 ? leftHz : rightHz) * t);
    };
}

Signal mixed(Signal a, Signal b) {
    return [=](int channel, double t) { return a(channel, t) + b(channel, t); };
}

class BeatAnalysisTest : public ::testing::Test {
protected:
    void SetUp() override {
        const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
        folder = fs::temp_directory_path() / (std::string("serivane-analysis-") + test->name() +
                                              "-" + std::to_string(getpid()));
        fs::remove_all(folder);
        fs::create_directories(folder);
    }
    void TearDown() override { fs::remove_all(folder); }

    std::string write(const char* name, int channels, double seconds, const Signal& signal,
                      int format = SF_FORMAT_WAV | SF_FORMAT_PCM_24) {
        const fs::path path = folder / name;
        SF_INFO info{};
        info.samplerate = rate;
        info.channels = channels;
        info.format = format;
        SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
        EXPECT_NE(file, nullptr) << sf_strerror(nullptr);
        const auto frames = static_cast<long long>(std::llround(seconds * rate));
        std::vector<double> samples(static_cast<std::size_t>(frames * channels));
        for (long long f = 0; f < frames; ++f) {
            for (int c = 0; c < channels; ++c)
                samples[static_cast<std::size_t>(f * channels + c)] =
                    signal(c, static_cast<double>(f) / rate);
        }
        sf_writef_double(file, samples.data(), frames);
        sf_close(file);
        return path.string();
    }

    BeatAnalysis analyze(const std::string& path, double window = 0.0) {
        BeatAnalysis analysis;
        std::string error;
        EXPECT_TRUE(analyzeSoundFile(path, {window}, analysis, error)) << error;
        return analysis;
    }

    fs::path folder;
};

TEST_F(BeatAnalysisTest, KnownBeatsAndTheirSignInEveryWindowAndInTotal) {
    struct Case {
        double left, right, beat;
        const char* band;
    };
    for (const Case& c : {Case{200.0, 207.83, 7.83, "THETA"}, Case{440.0, 400.0, -40.0, "GAMMA"},
                          Case{150.0, 150.5, 0.5, "DELTA"}}) {
        const BeatAnalysis a = analyze(write("beat.wav", 2, 7.0, tones(c.left, c.right)), 3.0);
        ASSERT_EQ(a.windows.size(), 2u) << "3 s, then 4 s: the short remainder joins";
        EXPECT_DOUBLE_EQ(a.windows[1].start, 3.0);
        EXPECT_DOUBLE_EQ(a.windows[1].seconds, 4.0);
        for (const SpanMeasure& m : {a.windows[0], a.windows[1], a.total}) {
            ASSERT_EQ(m.beat.verdict, BeatVerdict::Beat) << c.beat;
            EXPECT_NEAR(*m.beat.hz, c.beat, 0.001);
            EXPECT_GT(m.beat.strength, 0.95);
            EXPECT_NEAR(*m.left.dominantHz, c.left, 0.05);
            EXPECT_NEAR(*m.right.dominantHz, c.right, 0.05);
            EXPECT_NEAR(20.0 * std::log10(m.rms), 20.0 * std::log10(0.5 / std::sqrt(2.0)), 0.1);
        }
        EXPECT_NE(run({"analyze", (folder / "beat.wav").string()}).out.find(c.band),
                  std::string::npos);
    }
}

TEST_F(BeatAnalysisTest, ABeatThatChangesIsFollowedWindowByWindow) {
    const Signal stepped = [](int channel, double t) {
        const double beat = t < 5.0 ? 10.0 : 4.0;
        const double phase = t < 5.0 ? beat * t : 10.0 * 5.0 + beat * (t - 5.0);
        return 0.4 * std::sin(twoPi * (300.0 * t + (channel == 1 ? phase : 0.0)));
    };
    const BeatAnalysis a = analyze(write("stepped.wav", 2, 10.0, stepped));
    ASSERT_EQ(a.windows.size(), 2u);
    EXPECT_NEAR(*a.windows[0].beat.hz, 10.0, 0.05);
    EXPECT_NEAR(*a.windows[1].beat.hz, 4.0, 0.05);
    EXPECT_NEAR(*a.total.beat.hz, 7.0, 0.05) << "the mean rate at which the phase turned";
}

TEST_F(BeatAnalysisTest, AGlidingBeatIsItsMeanOverEachWindow) {
    // One carrier, the beat gliding from 10 to 2 Hz while the tone swells from silence and fades
    // again, as the instrument's volume curve does.
    constexpr double seconds = 20.0;
    const Signal glide = [](int channel, double t) {
        const double beatPhase = 10.0 * t - 4.0 * t * t / seconds;
        const double level = 0.5 * std::pow(std::sin(std::numbers::pi * t / seconds), 2);
        return level * std::sin(twoPi * (300.0 * t + (channel == 1 ? beatPhase : 0.0)));
    };
    const BeatAnalysis a = analyze(write("glide.wav", 2, seconds, glide));
    ASSERT_EQ(a.windows.size(), 4u);
    for (const SpanMeasure& w : a.windows) {
        const double middle = w.start + 0.5 * w.seconds;
        ASSERT_TRUE(w.beat.hz) << w.start;
        EXPECT_NEAR(*w.beat.hz, 10.0 - 8.0 * middle / seconds, 0.01) << "window at " << w.start;
    }
}

TEST_F(BeatAnalysisTest, AnOffsetIsNoSound) {
    const Signal offsetTone = [](int channel, double t) {
        return channel == 0 ? 0.5 + 0.3 * std::sin(twoPi * 300.0 * t)
                            : 0.3 * std::sin(twoPi * 306.0 * t);
    };
    const BeatAnalysis a = analyze(write("offset.wav", 2, 3.0, offsetTone));
    ASSERT_TRUE(a.total.beat.hz);
    EXPECT_NEAR(*a.total.beat.hz, 6.0, 0.01);
    EXPECT_NEAR(*a.total.left.dominantHz, 300.0, 0.05);
    const Signal offsetOnly = [](int channel, double t) {
        return channel == 0 ? 0.5 : 0.3 * std::sin(twoPi * 400.0 * t);
    };
    const BeatAnalysis b = analyze(write("only.wav", 2, 3.0, offsetOnly));
    EXPECT_EQ(b.total.beat.verdict, BeatVerdict::OneEar);
    EXPECT_FALSE(b.total.left.dominantHz);
}

TEST_F(BeatAnalysisTest, SamplesFarBeyondFullScaleStillBeat) {
    // A float file may hold any finite value; the transforms must not overflow on them.
    const BeatAnalysis a = analyze(
        write("huge.wav", 2, 3.0, tones(300.0, 305.0, 1e35), SF_FORMAT_WAV | SF_FORMAT_FLOAT));
    ASSERT_EQ(a.total.beat.verdict, BeatVerdict::Beat);
    EXPECT_NEAR(*a.total.beat.hz, 5.0, 0.01);
}

TEST_F(BeatAnalysisTest, TheEarsAgreeWithTheBeat) {
    // Each ear's loudest tone belongs to another pair: the left's to a pair at 400 and 406 Hz,
    // the right's to one at 300 and 306 Hz; both pairs beat at +6 Hz.
    const Signal pairs = mixed(tones(400.0, 406.0, 0.3), tones(300.0, 306.0, 0.2));
    const Signal louder = [&](int channel, double t) {
        return pairs(channel, t) + (channel == 1 ? 0.15 * std::sin(twoPi * 306.0 * t) : 0.0);
    };
    const BeatAnalysis a = analyze(write("pairs.wav", 2, 3.0, louder));
    for (const SpanMeasure& m : {a.windows[0], a.total}) {
        ASSERT_TRUE(m.beat.hz);
        EXPECT_GT(*m.beat.hz, 0.0);
        EXPECT_NEAR(*m.right.dominantHz - *m.left.dominantHz, 6.0, 0.1)
            << *m.left.dominantHz << " and " << *m.right.dominantHz;
    }
}

TEST_F(BeatAnalysisTest, TheStrongerOfTwoMixedBeatsIsReported) {
    const Signal strongTen = mixed(tones(300.0, 310.0, 0.4), tones(500.0, 504.0, 0.2));
    const Signal strongFour = mixed(tones(300.0, 310.0, 0.2), tones(500.0, 504.0, 0.4));
    EXPECT_NEAR(*analyze(write("ten.wav", 2, 6.0, strongTen)).total.beat.hz, 10.0, 0.01);
    EXPECT_NEAR(*analyze(write("four.wav", 2, 6.0, strongFour)).total.beat.hz, 4.0, 0.01);
    // A louder sound that both ears share, as a mixed-in recording of rain, does not hide the
    // beat of the tones beneath it.
    std::mt19937 random(3);
    std::normal_distribution<double> noise(0.0, 0.3);
    double rain = 0.0;
    const Signal shared =
        mixed([&](int channel, double) { return channel == 0 ? (rain = noise(random)) : rain; },
              tones(600.0, 606.0, 0.2));
    const BeatAnalysis a = analyze(write("shared.wav", 2, 6.0, shared));
    ASSERT_EQ(a.total.beat.verdict, BeatVerdict::Beat);
    EXPECT_NEAR(*a.total.beat.hz, 6.0, 0.01);
}

TEST_F(BeatAnalysisTest, WithoutABeatTheVerdictSaysWhy) {
    std::mt19937 random(7);
    std::normal_distribution<double> noise(0.0, 0.1);
    struct Case {
        const char* name;
        int channels;
        Signal signal;
        BeatVerdict verdict;
        const char* words;
    };
    const std::vector<Case> cases = {
        {"mono.wav", 1, tones(200.0, 200.0), BeatVerdict::Mono, "binaural beat: the file is mono"},
        {"silence.wav", 2, [](int, double) { return 0.0; }, BeatVerdict::Silent, "silence"},
        {"same.wav", 2, tones(200.0, 200.0), BeatVerdict::SameFrequency, "same frequencies"},
        {"left.wav", 2,
         [](int c, double t) { return c == 0 ? 0.5 * std::sin(twoPi * 200 * t) : 0; },
         BeatVerdict::OneEar, "only one ear"},
        {"noise.wav", 2, [&](int, double) { return noise(random); }, BeatVerdict::Unsteady,
         "no steady beat"},
    };
    for (const Case& c : cases) {
        const std::string path = write(c.name, c.channels, 3.0, c.signal);
        const BeatAnalysis a = analyze(path);
        EXPECT_EQ(a.total.beat.verdict, c.verdict) << c.name;
        EXPECT_FALSE(a.total.beat.hz) << c.name;
        Outcome outcome = run({"analyze", path});
        EXPECT_EQ(outcome.code, exitOk) << c.name << outcome.err;
        EXPECT_NE(outcome.out.find(c.words), std::string::npos) << outcome.out;
    }
    const BeatAnalysis mono = analyze((folder / "mono.wav").string());
    EXPECT_NEAR(*mono.total.left.dominantHz, 200.0, 0.05) << "a mono file still has a frequency";
    EXPECT_FALSE(analyze((folder / "silence.wav").string()).total.left.dominantHz);
}

TEST_F(BeatAnalysisTest, AOneSecondFileIsOneWindow) {
    const BeatAnalysis a = analyze(
        write("short.flac", 2, 1.0, tones(400.0, 407.83), SF_FORMAT_FLAC | SF_FORMAT_PCM_16));
    ASSERT_EQ(a.windows.size(), 1u);
    EXPECT_DOUBLE_EQ(a.windowSeconds, 1.0);
    EXPECT_NEAR(*a.total.beat.hz, 7.83, 0.01);
}

TEST_F(BeatAnalysisTest, UnreadableFilesAreRefusedWithTheReason) {
    const std::string six = write("six.wav", 6, 1.0, tones(200.0, 210.0));
    const std::string tiny = write("tiny.wav", 2, 0.1, tones(200.0, 210.0));
    const fs::path garbage = folder / "garbage.wav";
    std::ofstream(garbage) << "RIFF this is not really a wave file at all";
    // A real header whose data stops a few bytes in.
    const std::string whole = write("whole.wav", 2, 2.0, tones(200.0, 210.0));
    const fs::path cut = folder / "cut.wav";
    fs::copy_file(whole, cut);
    fs::resize_file(cut, 50);
    // A header that gives a sample rate of 0.
    const fs::path rateZero = folder / "rate0.wav";
    fs::copy_file(whole, rateZero);
    std::fstream header(rateZero, std::ios::in | std::ios::out | std::ios::binary);
    header.seekp(24);
    header.write("\0\0\0\0", 4);
    header.close();
    struct Case {
        std::string path;
        const char* reason;
    };
    for (const Case& c :
         {Case{six, "6 channels"}, Case{tiny, "too short"}, Case{garbage.string(), "cannot read"},
          Case{cut.string(), ""}, Case{(folder / "missing.wav").string(), "cannot read"},
          Case{rateZero.string(), "its header is not valid"}}) {
        Outcome outcome = run({"analyze", c.path, "--plot", (folder / "plot.png").string()});
        EXPECT_EQ(outcome.code, exitFailure) << c.path;
        EXPECT_TRUE(outcome.out.empty()) << outcome.out;
        EXPECT_NE(outcome.err.find(c.reason), std::string::npos) << outcome.err;
        EXPECT_NE(outcome.err.find(c.path), std::string::npos) << outcome.err;
        EXPECT_FALSE(fs::exists(folder / "plot.png")) << c.path;
    }
}

TEST_F(BeatAnalysisTest, SamplesThatAreNotFiniteCountAsSilence) {
    const Signal spoiled = [](int channel, double t) {
        if (t > 1.0 && t < 1.001) return std::nan("");
        return 0.5 * std::sin(twoPi * (channel == 0 ? 300.0 : 305.0) * t);
    };
    const BeatAnalysis a =
        analyze(write("nan.wav", 2, 3.0, spoiled, SF_FORMAT_WAV | SF_FORMAT_FLOAT));
    EXPECT_NEAR(*a.total.beat.hz, 5.0, 0.05);
    EXPECT_TRUE(std::isfinite(a.total.rms));
}

TEST_F(BeatAnalysisTest, SamplesThatAreNotFiniteAreReported) {
    const Signal spoiled = [](int channel, double t) {
        if (t >= 1.0 && t < 1.001) return std::nan("");
        return 0.5 * std::sin(twoPi * (channel == 0 ? 300.0 : 305.0) * t);
    };
    const std::string path = write("nan.wav", 2, 3.0, spoiled, SF_FORMAT_WAV | SF_FORMAT_FLOAT);
    Outcome outcome = run({"analyze", path});
    EXPECT_NE(outcome.out.find("Not finite: 96 samples (NaN or infinity), the first at 0:01,"),
              std::string::npos)
        << outcome.out;
    const std::string nothing = write(
        "nothing.wav", 2, 1.0, [](int, double) { return INFINITY; },
        SF_FORMAT_WAV | SF_FORMAT_FLOAT);
    outcome = run({"analyze", nothing});
    EXPECT_NE(outcome.out.find("No binaural beat: the samples are not numbers"), std::string::npos)
        << outcome.out;
}

TEST_F(BeatAnalysisTest, SamplesThatAreNotFiniteCountOnceInTheWindowThatHoldsThem) {
    // 48 frames on each side of the boundary at 1 s, in the left ear: each window reads past its
    // edges into the other, yet every sample counts once, where it lies.
    const Signal spoiled = [](int channel, double t) {
        const long long frame = std::llround(t * rate);
        if (channel == 0 && frame >= rate - 48 && frame < rate + 48) return std::nan("");
        return 0.5 * std::sin(twoPi * (channel == 0 ? 300.0 : 305.0) * t);
    };
    const BeatAnalysis a =
        analyze(write("edge.wav", 2, 3.0, spoiled, SF_FORMAT_WAV | SF_FORMAT_FLOAT), 1.0);
    ASSERT_EQ(a.windows.size(), 3u);
    EXPECT_EQ(a.windows[0].notFinite, 48);
    EXPECT_EQ(a.windows[1].notFinite, 48);
    EXPECT_EQ(a.windows[2].notFinite, 0);
    ASSERT_TRUE(a.firstNotFinite);
    EXPECT_DOUBLE_EQ(*a.firstNotFinite, static_cast<double>(rate - 48) / rate);
}

TEST_F(BeatAnalysisTest, OnATerminalABarShowsTheWork) {
    const std::string path = write("beat.wav", 2, 4.0, tones(200.0, 210.0));
    std::ostringstream out, err;
    ASSERT_EQ(runCommandLine({"analyze", "--window", "1", path}, Console{out, err, true}), exitOk);
    EXPECT_EQ(err.str().rfind("\rAnalyzing [", 0), 0u) << err.str();
    EXPECT_NE(err.str().find("100%"), std::string::npos) << err.str();
    EXPECT_EQ(err.str().back(), '\r') << "the bar's line is cleared";
    EXPECT_NE(out.str().find("+10.00 Hz"), std::string::npos) << out.str();
}

TEST_F(BeatAnalysisTest, JsonCarriesTheTotalAndEveryWindow) {
    const std::string path = write("beat.wav", 2, 4.0, tones(200.0, 210.0));
    Outcome outcome = run({"analyze", "--json", "--window", "2", path});
    ASSERT_EQ(outcome.code, exitOk) << outcome.err;
    for (const char* part :
         {"\"total\": {", "\"windows\": [", "\"verdict\": \"beat\"", "\"band\": \"ALPHA\"",
          "\"higherEar\": \"right\"", "\"windowSeconds\": 2", "\"dominantHz\": "}) {
        EXPECT_NE(outcome.out.find(part), std::string::npos) << part << "\n" << outcome.out;
    }
    std::size_t windows = 0;
    for (std::size_t at = outcome.out.find("\"start\""); at != std::string::npos;
         at = outcome.out.find("\"start\"", at + 1))
        ++windows;
    EXPECT_EQ(windows, 3u) << "the total and two windows";
}

} // namespace
} // namespace serivane::tools
