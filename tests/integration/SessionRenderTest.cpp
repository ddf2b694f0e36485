// Session renders through the tool: fades, and a recording mixed under the tones.
#include "ToolRun.h"
#include "support/SignalMeasures.h"
#include "tools/CommandLine.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <random>
#include <sndfile.h>

namespace serivane::integration {
namespace {

namespace fs = std::filesystem;

struct Sound {
    int rate = 0;
    int channels = 0;
    std::vector<float> samples; // interleaved

    std::vector<float> channel(int c) const {
        std::vector<float> one;
        for (std::size_t i = static_cast<std::size_t>(c); i < samples.size(); i += channels)
            one.push_back(samples[i]);
        return one;
    }
};

Sound read(const fs::path& path) {
    SF_INFO info{};
    SNDFILE* file = sf_open(path.c_str(), SFM_READ, &info);
    EXPECT_NE(file, nullptr) << path << ": " << sf_strerror(nullptr);
    if (file == nullptr) return {};
    Sound sound{info.samplerate, info.channels,
                std::vector<float>(static_cast<std::size_t>(info.frames * info.channels))};
    sf_readf_float(file, sound.samples.data(), info.frames);
    sf_close(file);
    return sound;
}

void write(const fs::path& path, int format, const Sound& sound) {
    SF_INFO info{};
    info.samplerate = sound.rate;
    info.channels = sound.channels;
    info.format = format;
    SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
    ASSERT_NE(file, nullptr) << path << ": " << sf_strerror(nullptr);
    sf_writef_float(file, sound.samples.data(),
                    static_cast<sf_count_t>(sound.samples.size()) / sound.channels);
    sf_close(file);
}

std::string bytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

class SessionRenderTest : public ::testing::Test {
protected:
    // Renders the default patch, playing, for `seconds` with the extra options.
    Sound render(const std::string& seconds, std::vector<std::string> options,
                 const std::string& name = "take.wav") {
        std::vector<std::string> words = {
            "render", "--set", "Play Anyway=Yes", "--seconds", seconds, "--format", "float"};
        words.insert(words.end(), options.begin(), options.end());
        words.push_back((folder / name).string());
        Outcome outcome = runTool(words);
        EXPECT_EQ(outcome.code, 0) << outcome.err;
        EXPECT_TRUE(outcome.err.empty()) << outcome.err;
        return read(folder / name);
    }

    ScratchFolder scratch{"serivane-session"};
    const fs::path folder = scratch.path();
};

TEST_F(SessionRenderTest, FadesStartAndEndInSilenceWithoutAJumpAboveTheTonesOwn) {
    Sound plain = render("2", {}, "plain.wav");
    for (auto [in, out] : {std::pair<const char*, const char*>{"0.5", "0.25"}, {"1", "1"}}) {
        Sound faded = render("2", {"--fade-in", in, "--fade-out", out});
        ASSERT_EQ(faded.samples.size(), plain.samples.size());
        for (int c = 0; c < 2; ++c) {
            std::vector<float> ear = faded.channel(c);
            EXPECT_EQ(ear.front(), 0.0f);
            EXPECT_EQ(ear.back(), 0.0f);
            EXPECT_LE(measure::largestStep(ear), measure::largestStep(plain.channel(c)))
                << in << " " << out;
        }
        if (std::string(in) == "0.5") {
            EXPECT_EQ(faded.samples[2 * 48000], plain.samples[2 * 48000]) << "between the fades";
        }
    }
}

TEST_F(SessionRenderTest, AShortMonoRecordingAtAnotherRateLoopsUnderTheTonesAtTheRendersRate) {
    // Half a second of noise at 44.1 kHz as FLAC, and a tone as Ogg Vorbis.
    std::mt19937 random(3);
    std::uniform_real_distribution<float> uniform(-0.5f, 0.5f);
    Sound rain{44100, 1, std::vector<float>(22050)};
    for (float& s : rain.samples) s = uniform(random);
    write(folder / "rain.flac", SF_FORMAT_FLAC | SF_FORMAT_PCM_16, rain);
    write(folder / "hum.ogg", SF_FORMAT_OGG | SF_FORMAT_VORBIS,
          Sound{44100, 1, measure::tone(1000.0, 44100, 3.0, 0.5)});

    Sound mixed = render(
        "2", {"--set", "Volume=0", "--mix", (folder / "rain.flac").string(), "--mix-level", "-6"});
    ASSERT_EQ(mixed.rate, 48000);
    ASSERT_EQ(mixed.samples.size(), 2u * 96000);
    std::vector<float> left = mixed.channel(0);
    std::vector<float> right = mixed.channel(1);
    double apart = 0.0; // what the silenced tones leave differs between the ears
    for (std::size_t i = 0; i < left.size(); ++i)
        apart = std::max(apart, std::abs(static_cast<double>(left[i]) - right[i]));
    EXPECT_LT(apart, 1e-3) << "a mono recording sounds alike in both ears";
    const double expected =
        measure::rms(rain.samples, 0, rain.samples.size()) * std::pow(10.0, -6.0 / 20);
    for (std::size_t from : {std::size_t{0}, std::size_t{48000}, std::size_t{72000}}) {
        EXPECT_NEAR(20.0 * std::log10(measure::rms(left, from, from + 24000) / expected), 0.0, 0.5)
            << "the recording still sounds at frame " << from;
    }

    Sound tone = render(
        "1.5", {"--set", "Volume=0", "--mix", (folder / "hum.ogg").string(), "--mix-level", "0"});
    std::vector<float> ear = tone.channel(0);
    EXPECT_NEAR(measure::frequencyOf({ear.begin() + 4800, ear.begin() + 52800}, 48000), 1000.0,
                0.01);
}

// A program glides the noise bed's level and sets the recording's, each from its option's level,
// under tones that are silenced.
TEST_F(SessionRenderTest, AProgramMovesTheNoiseAndTheMixLevels) {
    std::ofstream(folder / "noise.txt") << "00:01  noise level = -40 dB over 1s\n00:03  end\n";
    std::ofstream(folder / "mix.txt") << "00:01  mix level = -30 dB\n00:03  end\n";
    write(folder / "hum.wav", SF_FORMAT_WAV | SF_FORMAT_FLOAT,
          Sound{48000, 1, measure::tone(1000.0, 48000, 1.0, 0.5)});
    auto level = [](const std::vector<float>& ear, double from, double to) {
        return 20.0 * std::log10(measure::rms(ear, static_cast<std::size_t>(from * 48000),
                                              static_cast<std::size_t>(to * 48000)));
    };
    std::vector<float> noise =
        render("3", {"--set", "Volume=0", "--program", (folder / "noise.txt").string(), "--noise",
                     "white", "--noise-level", "-20"})
            .channel(1);
    EXPECT_NEAR(level(noise, 0.1, 1.0), -20.0, 0.5);
    EXPECT_NEAR(level(noise, 1.45, 1.55), -30.0, 1.0);
    EXPECT_NEAR(level(noise, 2.0, 3.0), -40.0, 0.5);
    std::vector<float> hum =
        render("3", {"--set", "Volume=0", "--program", (folder / "mix.txt").string(), "--mix",
                     (folder / "hum.wav").string(), "--mix-level", "-6"})
            .channel(0);
    const double amplitude = 0.5 * std::pow(10.0, -6.0 / 20.0);
    EXPECT_NEAR(measure::amplitudeAt({hum.begin() + 4800, hum.begin() + 43200}, 1000.0, 48000),
                amplitude, 0.01 * amplitude);
    EXPECT_NEAR(measure::amplitudeAt({hum.begin() + 52800, hum.end()}, 1000.0, 48000),
                0.5 * std::pow(10.0, -30.0 / 20.0), 0.01 * amplitude);
}

TEST_F(SessionRenderTest, AMissingOrUnusableRecordingFailsAndLeavesNoFile) {
    Sound surround{48000, 6, std::vector<float>(6 * 4800)};
    write(folder / "surround.wav", SF_FORMAT_WAV | SF_FORMAT_PCM_16, surround);
    write(folder / "silence.wav", SF_FORMAT_WAV | SF_FORMAT_PCM_16, Sound{48000, 1, {}});
    std::ofstream(folder / "notes.txt") << "not a sound\n";
    struct Case {
        std::string mix;
        const char* message;
    };
    for (const Case& c : {Case{(folder / "missing.ogg").string(), "no such file"},
                          Case{(folder / "surround.wav").string(), "6 channels"},
                          Case{(folder / "notes.txt").string(), "cannot read"},
                          Case{(folder / "silence.wav").string(), "holds no sound"},
                          Case{folder.string(), "folder"}}) {
        Outcome outcome =
            runTool({"render", "--seconds", "1", "--mix", c.mix, (folder / "out.wav").string()});
        EXPECT_EQ(outcome.code, tools::exitFailure);
        EXPECT_NE(outcome.err.find(c.message), std::string::npos) << outcome.err;
        EXPECT_NE(outcome.err.find(c.mix), std::string::npos) << outcome.err;
        EXPECT_TRUE(outcome.out.empty());
    }
    std::vector<std::string> names;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"notes.txt", "silence.wav", "surround.wav"}));
}

TEST_F(SessionRenderTest, AMixThatGoesOverFullScaleIsWrittenWithAWarning) {
    Sound loud{48000, 2, std::vector<float>(2 * 4800, 0.9f)};
    write(folder / "loud.wav", SF_FORMAT_WAV | SF_FORMAT_FLOAT, loud);
    Outcome outcome =
        runTool({"render", "--seconds", "0.5", "--mix", (folder / "loud.wav").string(),
                 "--mix-level", "6", (folder / "out.wav").string()});
    EXPECT_EQ(outcome.code, tools::exitOk) << outcome.err;
    EXPECT_NE(outcome.err.find("warning: the render peaks at +"), std::string::npos) << outcome.err;
    EXPECT_NE(outcome.err.find("--mix-level"), std::string::npos) << outcome.err;
    EXPECT_TRUE(fs::exists(folder / "out.wav"));
}

TEST_F(SessionRenderTest, NothingNotFiniteReachesAFile) {
    Sound broken{48000, 2, std::vector<float>(2 * 4800, 0.1f)};
    broken.samples[2 * 2400 + 1] = std::nanf("");
    write(folder / "broken.wav", SF_FORMAT_WAV | SF_FORMAT_FLOAT, broken);
    // Finite in the file, infinite once raised by 24 dB.
    Sound huge{48000, 2, std::vector<float>(2 * 4800, 3e38f)};
    write(folder / "huge.wav", SF_FORMAT_WAV | SF_FORMAT_FLOAT, huge);
    struct Case {
        const char* mix;
        const char* message;
    };
    for (const Case& c :
         {Case{"broken.wav", "its sample at frame 2400 (0:00.1) is NaN or infinite"},
          Case{"huge.wav", "NaN or infinite: nothing was written"}}) {
        const std::string mix = (folder / c.mix).string();
        Outcome outcome = runTool({"render", "--seconds", "0.2", "--format", "float", "--mix", mix,
                                   "--mix-level", "24", (folder / "out.wav").string()});
        EXPECT_EQ(outcome.code, tools::exitFailure) << c.mix;
        EXPECT_NE(outcome.err.find(c.message), std::string::npos) << outcome.err;
        EXPECT_TRUE(outcome.out.empty()) << outcome.out;
    }
    std::vector<std::string> names;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"broken.wav", "huge.wav"}));
}

TEST_F(SessionRenderTest, AnOutputThatIsTheRecordingIsRefusedAndALinkedOutputStaysALink) {
    write(folder / "rain.wav", SF_FORMAT_WAV | SF_FORMAT_PCM_16,
          Sound{48000, 1, std::vector<float>(4800, 0.25f)});
    const std::string recording = bytes(folder / "rain.wav");
    fs::create_directory(folder / "takes");
    fs::create_symlink("rain.wav", folder / "link.wav");
    fs::create_hard_link(folder / "rain.wav", folder / "hard.wav");
    const std::string mix = (folder / "rain.wav").string();
    for (const fs::path& out :
         {folder / "rain.wav", folder / "." / "rain.wav", folder / "takes" / ".." / "rain.wav",
          folder / "link.wav", folder / "hard.wav"}) {
        Outcome outcome = runTool({"render", "--seconds", "0.2", "--mix", mix, out.string()});
        EXPECT_EQ(outcome.code, tools::exitFailure) << out;
        EXPECT_NE(outcome.err.find("it is the --mix recording"), std::string::npos) << outcome.err;
    }
    EXPECT_EQ(bytes(folder / "rain.wav"), recording);

    // A link to a take, relative to its own folder, keeps pointing at the new take.
    std::ofstream(folder / "takes" / "latest.wav") << "an older take";
    fs::create_symlink(fs::path("takes") / "latest.wav", folder / "latest.wav");
    Outcome outcome = runTool({"render", "--seconds", "0.2", (folder / "latest.wav").string()});
    EXPECT_EQ(outcome.code, tools::exitOk) << outcome.err;
    EXPECT_TRUE(fs::is_symlink(folder / "latest.wav"));
    EXPECT_EQ(read(folder / "takes" / "latest.wav").samples.size(), 2u * 9600);
    EXPECT_EQ(std::distance(fs::directory_iterator(folder / "takes"), {}), 1);
}

// Tones above half the rate, for a moment of a glide too, are warned of; so is a --seconds that
// stops a program early, which is named as given.
TEST_F(SessionRenderTest, AliasingTonesAndACutProgramAreWarnedOf) {
    const fs::path out = folder / "out.wav";
    std::ofstream(folder / "rise.txt") << "00:00  High Freq = 5000 Hz over 0.5s\n"
                                          "00:00.7  High Freq = 1000 Hz\n"
                                          "00:01  end\n";
    const std::string program = (folder / "rise.txt").string();
    struct Case {
        std::vector<std::string> words;
        std::string warning; // empty: no warning at all
    };
    for (const Case& c : {Case{{"--sample-rate", "8000", "--program", program},
                               "tones reach 5005.5 Hz, above "
                               "half the sample rate (4000 Hz)"},
                          Case{{"--program", program}, ""},
                          Case{{"--program", program, "--seconds", "0.5"},
                               "--seconds cuts the program " + program +
                                   " short: the render lasts 0:00.5 of its "
                                   "0:01.0"},
                          Case{{"--program", "sleep-descent", "--seconds", "0.5"},
                               "--seconds cuts the program sleep-descent short"}}) {
        std::vector<std::string> words = {"render"};
        words.insert(words.end(), c.words.begin(), c.words.end());
        words.push_back(out.string());
        Outcome outcome = runTool(words);
        EXPECT_EQ(outcome.code, tools::exitOk) << outcome.err;
        if (c.warning.empty())
            EXPECT_EQ(outcome.err, "");
        else
            EXPECT_NE(outcome.err.find(c.warning), std::string::npos) << outcome.err;
    }
}

} // namespace
} // namespace serivane::integration
