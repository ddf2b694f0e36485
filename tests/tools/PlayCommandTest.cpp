// Plays the built tool through PortAudio into a JACK server on its dummy back end, records what
// it sends with a JACK client of the test's own, and checks the beat and the ending.
#include "ChildProcess.h"
#include "JackCapture.h"
#include "JackServer.h"
#include "TerminalCapture.h"

#include "host/VirtualDisplay.h"

#include <fftw3.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <complex>
#include <csignal>
#include <cstdlib>
#include <fstream>
#include <gtest/gtest.h>
#include <memory>
#include <numbers>
#include <sys/wait.h>
#include <thread>

namespace serivane::tools {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

constexpr int rate = 48000;
constexpr const char* schumann = "Psychic - Schumann Resonance (7.83)";

// The rate at which the phase difference between the ears turns, in Hz, positive when the right
// ear is the higher: short spectra of both ears every `hop` frames, and the turn of the
// cross-spectrum from one to the next, summed over every bin (so over every tone pair) but the
// lowest, where a tone's mirror image below 0 Hz turns the other way. The median over quarter
// seconds, so that a period the device missed on a busy machine does not count.
double beatBetweenEars(const std::vector<float>& left, const std::vector<float>& right,
                       std::size_t first, std::size_t last) {
    constexpr int size = 4096;
    constexpr std::size_t hop = 480; // beats up to 50 Hz are told apart
    constexpr int hopsPerPart = 25;
    std::vector<double> window(size);
    for (int i = 0; i < size; ++i)
        window[i] = 0.5 - 0.5 * std::cos(2 * std::numbers::pi * i / size);
    std::vector<double> input(size);
    std::vector<std::complex<double>> out(size / 2 + 1);
    fftw_plan plan = fftw_plan_dft_r2c_1d(
        size, input.data(), reinterpret_cast<fftw_complex*>(out.data()), FFTW_ESTIMATE);
    auto spectrum = [&](const std::vector<float>& ear, std::size_t at) {
        for (int i = 0; i < size; ++i) input[i] = ear[at + i] * window[i];
        fftw_execute(plan);
        return out;
    };
    std::vector<std::complex<double>> previous;
    std::complex<double> turn = 0.0;
    std::vector<double> parts;
    int hops = 0;
    for (std::size_t at = first; at + size <= last; at += hop) {
        std::vector<std::complex<double>> l = spectrum(left, at);
        std::vector<std::complex<double>> r = spectrum(right, at);
        std::vector<std::complex<double>> cross(l.size());
        for (std::size_t k = 0; k < l.size(); ++k) cross[k] = r[k] * std::conj(l[k]);
        for (std::size_t k = 4; k < cross.size() && !previous.empty(); ++k)
            turn += cross[k] * std::conj(previous[k]);
        previous = cross;
        if (++hops % hopsPerPart != 0) continue;
        parts.push_back(std::arg(turn) * rate / (2 * std::numbers::pi * hop));
        turn = 0.0;
    }
    fftw_destroy_plan(plan);
    if (parts.empty()) return 0.0;
    std::nth_element(parts.begin(), parts.begin() + parts.size() / 2, parts.end());
    return parts[parts.size() / 2];
}

double largestStep(const std::vector<float>& samples, std::size_t first, std::size_t last) {
    double step = 0.0;
    for (std::size_t i = std::max<std::size_t>(first, 1); i < last; ++i)
        step = std::max(step, std::fabs(double(samples[i]) - samples[i - 1]));
    return step;
}

// The first and one past the last frame with sound in either ear.
std::pair<std::size_t, std::size_t> soundingPart(const std::vector<float>& left,
                                                 const std::vector<float>& right) {
    std::size_t first = left.size(), last = 0;
    for (std::size_t i = 0; i < left.size(); ++i) {
        if (std::fabs(left[i]) < 1e-6f && std::fabs(right[i]) < 1e-6f) continue;
        first = std::min(first, i);
        last = i + 1;
    }
    return {first, last};
}

std::string firstLine(const std::string& text) {
    return text.substr(0, text.find('\n'));
}

// What ALSA and JACK print while PortAudio probes them, which the tool keeps quiet. (A leak
// checker's summary may follow the tool's own words.)
bool hasLibraryNoise(const std::string& text) {
    for (const char* noise : {"ALSA lib", "Cannot connect", "jack server", "JackShm"}) {
        if (text.find(noise) != std::string::npos) return true;
    }
    return false;
}

class PlayCommandTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        server = std::make_unique<JackServer>();
        if (!server->start(rate, skipReason)) return;
        // The tool and its PortAudio reach this server rather than a default one.
        setenv("JACK_DEFAULT_SERVER", server->name().c_str(), 1);
    }
    static void TearDownTestSuite() {
        unsetenv("JACK_DEFAULT_SERVER");
        server.reset();
    }

    void SetUp() override {
        if (!skipReason.empty()) GTEST_SKIP() << "no JACK server here: " << skipReason;
        log = fs::temp_directory_path() / ("serivane-play-" + std::to_string(getpid()) + ".txt");
    }
    void TearDown() override {
        if (child > 0) {
            kill(child, SIGKILL);
            waitpid(child, nullptr, 0);
        }
        fs::remove(log);
    }

    // Runs the tool to its end, with a deadline well past anything it should take.
    int finish() {
        int status = 0;
        for (auto deadline = std::chrono::steady_clock::now() + 60s;
             std::chrono::steady_clock::now() < deadline; std::this_thread::sleep_for(10ms)) {
            if (waitpid(child, &status, WNOHANG) == child) {
                child = -1;
                return status;
            }
        }
        ADD_FAILURE() << "the tool did not end: " << contents(log);
        return -1;
    }

    int run(std::vector<std::string> words) {
        child = startTool(std::move(words), log);
        return finish();
    }

    // Runs `command` on the JACK server's output with the preset and `words` while recording,
    // sends `signal` (when not 0) once 2.5 s were recorded, and answers the recording once the
    // tool has ended.
    void playAndRecord(const std::string& command, std::vector<std::string> words, int signal,
                       std::vector<float>& left, std::vector<float>& right) {
        JackCapture capture;
        std::string error;
        ASSERT_TRUE(capture.open(server->name(), 30.0, error)) << error;
        words.insert(words.begin(), {command, "--bundle", SERIVANE_BUNDLE_PATH, "--device",
                                     "system", "--preset", schumann});
        child = startTool(words, log, errors);
        ASSERT_TRUE(capture.connectFrom("serivane", 30s)) << contents(log);
        if (signal != 0) {
            std::size_t start = capture.framesRecorded();
            while (capture.framesRecorded() < start + 5 * rate / 2)
                std::this_thread::sleep_for(10ms);
            kill(child, signal);
        }
        status = finish();
        // A few periods of the silence after the ending.
        std::size_t end = capture.framesRecorded();
        while (capture.framesRecorded() < end + rate / 5) std::this_thread::sleep_for(10ms);
        capture.take(left, right);
    }

    // The beat in the steady part, past the instrument's half-second fade-in, and no step at
    // the end larger than the signal's own steps just before.
    void expectBeatAndSmoothEnd(const std::vector<float>& left, const std::vector<float>& right) {
        auto [first, last] = soundingPart(left, right);
        ASSERT_GT(last, first + 2 * rate) << "too little sound was recorded";
        std::size_t steadyFrom = first + 6 * rate / 10;
        std::size_t fadeFrom = last - rate * 2 / 10;
        EXPECT_NEAR(beatBetweenEars(left, right, steadyFrom, fadeFrom), 7.83, 0.01);
        std::size_t before = fadeFrom - rate / 2;
        for (const std::vector<float>* ear : {&left, &right}) {
            double own = largestStep(*ear, before, fadeFrom);
            double ending = largestStep(*ear, fadeFrom, ear->size());
            EXPECT_GT(own, 0.0);
            EXPECT_LE(ending, own) << "a click where the sound stops";
        }
    }

    static std::unique_ptr<JackServer> server;
    static std::string skipReason;
    fs::path log;
    int errors = -1; // where the tool's errors go; -1: the log
    pid_t child = -1;
    int status = 0;
};

std::unique_ptr<JackServer> PlayCommandTest::server;
std::string PlayCommandTest::skipReason;

TEST_F(PlayCommandTest, PlaysThePresetsBeatAndFadesOutWhenItsTimeIsUp) {
    std::vector<float> left, right;
    playAndRecord("play", {"--seconds", "3"}, 0, left, right);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << contents(log);
    EXPECT_NE(contents(log).find("Playing Psychic - Schumann Resonance (7.83) on \"system\""),
              std::string::npos)
        << contents(log);
    EXPECT_NE(contents(log).find("Played 0:03.0"), std::string::npos) << contents(log);
    expectBeatAndSmoothEnd(left, right);
}

TEST_F(PlayCommandTest, AProgramMovesTheBeatAndTheLiveLineNamesItsStep) {
    fs::path program =
        fs::temp_directory_path() / ("serivane-program-" + std::to_string(getpid()) + ".txt");
    std::ofstream(program) << "# Two steps\n"
                              "00:00  Binaural = 4 Hz    # slow\n"
                              "00:02  Binaural = 12 Hz   # faster\n"
                              "00:04  end\n";
    TerminalCapture terminal;
    std::string error;
    ASSERT_TRUE(terminal.open(error)) << error;
    errors = terminal.terminal();
    std::vector<float> left, right;
    playAndRecord("play", {"--program", program.string()}, 0, left, right);
    std::string screen = terminal.text();
    fs::remove(program);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << contents(log) << screen;
    EXPECT_NE(contents(log).find("Playing the program " + program.filename().string() +
                                 " (00:04) on \"system\""),
              std::string::npos)
        << contents(log);
    EXPECT_NE(contents(log).find("Played 0:04.0"), std::string::npos) << contents(log);
    EXPECT_NE(screen.find("step 1/2 \"slow\"  next: Binaural → 12 Hz in 0:0"), std::string::npos)
        << screen;
    EXPECT_NE(screen.find("step 2/2 \"faster\"  next: end in 0:0"), std::string::npos) << screen;
    EXPECT_NE(screen.find("beat 12.00 Hz alpha"), std::string::npos) << screen;
    // Each step past the instrument's half-second crossfade into it.
    auto [first, last] = soundingPart(left, right);
    ASSERT_GT(last, first + 3 * rate) << "too little sound was recorded";
    EXPECT_NEAR(beatBetweenEars(left, right, first + 6 * rate / 10, first + 19 * rate / 10), 4.0,
                0.02);
    EXPECT_NEAR(beatBetweenEars(left, right, first + 26 * rate / 10, first + 37 * rate / 10), 12.0,
                0.02);
}

TEST_F(PlayCommandTest, CtrlCFadesOutAndEndsAsTheSignalAsks) {
    std::vector<float> left, right;
    playAndRecord("play", {"--set", "Binaural Pan=Right"}, SIGINT, left, right);
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGINT) << contents(log);
    EXPECT_NE(contents(log).find("Played "), std::string::npos) << contents(log);
    expectBeatAndSmoothEnd(left, right);
}

TEST_F(PlayCommandTest, TheEditorPlaysThroughTheSameOutput) {
    host::VirtualDisplay display;
    std::string reason;
    if (!display.start(1024, 768, reason)) GTEST_SKIP() << "no virtual X server: " << reason;
    // fontconfig's process-lifetime memory goes with the unloaded plug-in: no leak of ours.
    const char* asan = std::getenv("ASAN_OPTIONS");
    std::string saved = asan != nullptr ? asan : "";
    setenv("ASAN_OPTIONS", (saved + ":detect_leaks=0").c_str(), 1);
    std::vector<float> left, right;
    playAndRecord("edit", {}, SIGTERM, left, right);
    setenv("ASAN_OPTIONS", saved.c_str(), 1);
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGTERM) << contents(log);
    EXPECT_NE(contents(log).find("playing on \"system\""), std::string::npos) << contents(log);
    expectBeatAndSmoothEnd(left, right);
}

TEST_F(PlayCommandTest, DevicesListsJacksSystemOutput) {
    int result = run({"devices"});
    EXPECT_TRUE(WIFEXITED(result) && WEXITSTATUS(result) == 0) << contents(log);
    std::string listing = contents(log);
    EXPECT_NE(listing.find("system  JACK Audio Connection Kit, 2 channels, 48000 Hz"),
              std::string::npos)
        << listing;
    EXPECT_FALSE(hasLibraryNoise(listing)) << listing;
}

TEST_F(PlayCommandTest, AnUnknownDeviceIsAClearError) {
    for (const char* device : {"no such card", "9999"}) {
        int result = run({"play", "--bundle", SERIVANE_BUNDLE_PATH, "--device", device});
        EXPECT_TRUE(WIFEXITED(result) && WEXITSTATUS(result) == 1) << contents(log);
        EXPECT_EQ(firstLine(contents(log)), "serivane: no output device \"" + std::string(device) +
                                                "\": run \"serivane devices\" to list them");
        EXPECT_FALSE(hasLibraryNoise(contents(log))) << contents(log);
    }
}

// Outside the JACK suite, on a server of its own: killed two seconds into playing, the tool
// ends soon after with a reason and exit code 1, neither waiting for the dead server nor
// aborting in PortAudio's JACK teardown.
TEST(PlayOnAServerThatDies, EndsSoonSayingTheDeviceStopped) {
    JackServer dying;
    std::string reason;
    if (!dying.start(rate, reason)) GTEST_SKIP() << "no JACK server here: " << reason;
    fs::path log = fs::temp_directory_path() / ("serivane-dying-" + std::to_string(getpid()));
    setenv("JACK_DEFAULT_SERVER", dying.name().c_str(), 1);
    pid_t child = startTool({"play", "--bundle", SERIVANE_BUNDLE_PATH, "--device", "system"}, log);
    unsetenv("JACK_DEFAULT_SERVER");
    ASSERT_GT(child, 0);
    int status = 0;
    auto ended = [&](std::chrono::seconds limit) {
        for (auto deadline = std::chrono::steady_clock::now() + limit;
             std::chrono::steady_clock::now() < deadline; std::this_thread::sleep_for(10ms)) {
            if (waitpid(child, &status, WNOHANG) == child) return true;
        }
        return false;
    };
    for (auto deadline = std::chrono::steady_clock::now() + 30s;
         contents(log).find("Playing ") == std::string::npos &&
         std::chrono::steady_clock::now() < deadline;)
        std::this_thread::sleep_for(10ms);
    ASSERT_FALSE(ended(2s)) << contents(log);
    dying.crash();
    bool endedSoon = ended(10s);
    if (!endedSoon) {
        kill(child, SIGKILL);
        waitpid(child, nullptr, 0);
    }
    std::string said = contents(log);
    fs::remove(log);
    ASSERT_TRUE(endedSoon) << "still playing 10 s after the server died: " << said;
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 1) << said;
    EXPECT_NE(said.find("\nserivane: the sound device stopped: \"system\""), std::string::npos)
        << said;
}

// Outside the JACK suite: with no server to reach and no card, the tool says so in one line.
TEST(PlayWithoutSoundDevice, SaysSoInOneLineAndFails) {
    fs::path log = fs::temp_directory_path() / ("serivane-nodev-" + std::to_string(getpid()));
    setenv("JACK_DEFAULT_SERVER", "serivane-no-such-server", 1);
    pid_t child = startTool({"play", "--bundle", SERIVANE_BUNDLE_PATH, "--seconds", "1"}, log);
    unsetenv("JACK_DEFAULT_SERVER");
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    std::string said = contents(log);
    fs::remove(log);
    if (WIFEXITED(status) && WEXITSTATUS(status) == 0)
        GTEST_SKIP() << "this machine has a sound device of its own";
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 1) << said;
    EXPECT_EQ(firstLine(said), "serivane: no sound output device found: PortAudio sees no ALSA, "
                               "PulseAudio or JACK output on this machine");
    EXPECT_FALSE(hasLibraryNoise(said)) << said;
}

} // namespace
} // namespace serivane::tools
