#include "tools/CommandLine.h"
#include "ToolRun.h"

#include <algorithm>
#include <cstring>
#include <elf.h>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sndfile.h>

namespace serivane::integration {
namespace {

namespace fs = std::filesystem;

// Lengths that cut a shared library inside each of its parts: the ELF header, the program header
// table, every loadable segment (its middle and its last byte), the section contents and the
// section header table.
std::vector<std::size_t> cutLengths(const std::vector<char>& library) {
    Elf64_Ehdr header;
    std::memcpy(&header, library.data(), sizeof header);
    std::vector<std::size_t> cuts = {EI_NIDENT + 4, header.e_phoff + header.e_phentsize / 2,
                                     header.e_shoff - 1, library.size() - 1};
    for (int i = 0; i < header.e_phnum; ++i) {
        Elf64_Phdr segment;
        std::memcpy(&segment, library.data() + header.e_phoff + i * sizeof segment, sizeof segment);
        if (segment.p_type != PT_LOAD || segment.p_filesz == 0) continue;
        cuts.push_back(segment.p_offset + segment.p_filesz / 2);
        cuts.push_back(segment.p_offset + segment.p_filesz - 1);
    }
    return cuts;
}

class CommandLineTest : public ::testing::Test {
protected:
    ScratchFolder scratch{"serivane-cli"};
    const fs::path folder = scratch.path();
};

TEST_F(CommandLineTest, RendersAPresetWithOverridesToWavAndFlac) {
    struct Case {
        const char* name;
        std::vector<std::string> options;
        int frames;
        int format;
    };
    for (const Case& c :
         {Case{"take.wav", {"--seconds", "2"}, 96000, SF_FORMAT_WAV | SF_FORMAT_PCM_24},
          Case{"take.flac",
               {"--seconds", "1", "--sample-rate", "44100", "--precision", "64", "--format",
                "pcm16", "--block", "100"},
               44100,
               SF_FORMAT_FLAC | SF_FORMAT_PCM_16}}) {
        fs::path target = folder / c.name;
        std::vector<std::string> words = {"render",
                                          "--preset",
                                          "Minimal (lock another params)",
                                          "--set",
                                          "Play Anyway=Yes",
                                          "--set",
                                          "Wave=Gold. Square"};
        words.insert(words.end(), c.options.begin(), c.options.end());
        words.push_back(target.string());
        Outcome outcome = runTool(words);
        ASSERT_EQ(outcome.code, 0) << outcome.err;
        EXPECT_EQ(outcome.out.rfind("Rendered ", 0), 0u) << outcome.out;
        EXPECT_NE(outcome.out.find("dBFS"), std::string::npos) << outcome.out;
        EXPECT_TRUE(outcome.err.empty()) << "no progress bar off a terminal: " << outcome.err;

        SF_INFO info{};
        SNDFILE* file = sf_open(target.c_str(), SFM_READ, &info);
        ASSERT_NE(file, nullptr) << sf_strerror(nullptr);
        std::vector<double> samples(static_cast<std::size_t>(info.frames * info.channels));
        sf_readf_double(file, samples.data(), info.frames);
        sf_close(file);
        EXPECT_EQ(info.frames, c.frames);
        EXPECT_EQ(info.channels, 2);
        EXPECT_EQ(info.format, c.format);
        double peak = 0.0;
        for (double s : samples) peak = std::max(peak, std::abs(s));
        EXPECT_GT(peak, 1e-3) << c.name;
    }
}

TEST_F(CommandLineTest, TheLengthIsRoundedToTheNearestFrame) {
    struct Case {
        const char* seconds;
        const char* rate;
        sf_count_t frames;
    };
    // Truncating, flooring or rounding up the length each misses some of these; the shortest
    // still writes one frame.
    for (const Case& c : {Case{"0.5", "44100", 22050}, Case{"1.2345", "44100", 54441},
                          Case{"2.3", "44100", 101430}, Case{"0.7", "44100", 30870},
                          Case{"0.99999", "48000", 48000}, Case{"1.23457", "48000", 59259},
                          Case{"0.0001", "48000", 5}, Case{"0.00001", "44100", 1}}) {
        fs::path target = folder / "take.wav";
        Outcome outcome = runTool({"render", "--seconds", c.seconds, "--sample-rate", c.rate,
                                   "--block", "1000", target.string()});
        ASSERT_EQ(outcome.code, 0) << outcome.err;
        SF_INFO info{};
        SNDFILE* file = sf_open(target.c_str(), SFM_READ, &info);
        ASSERT_NE(file, nullptr) << sf_strerror(nullptr);
        sf_close(file);
        EXPECT_EQ(info.frames, c.frames) << c.seconds << " s at " << c.rate << " Hz";
    }
}

TEST_F(CommandLineTest, RefusesWhatThePluginDoesNotOfferAndLeavesNoFile) {
    std::string target = (folder / "out.wav").string();
    struct Case {
        std::vector<std::string> words;
        const char* message;
    };
    for (const Case& c : {Case{{"render", "--preset", "Louder", target}, "no preset"},
                          Case{{"render", "--set", "Loudness=3", target}, "no parameter"},
                          Case{{"render", "--set", "Tones=17", target}, "1 to 16"},
                          Case{{"render", "--set", "Wave=Square", target}, "Gold. Square"},
                          Case{{"render", (folder / "no" / "out.wav").string()}, "cannot write"}}) {
        Outcome outcome = runTool(c.words);
        EXPECT_EQ(outcome.code, 1);
        EXPECT_NE(outcome.err.find(c.message), std::string::npos) << outcome.err;
    }
    EXPECT_TRUE(fs::is_empty(folder));
}

TEST_F(CommandLineTest, ATruncatedBundleIsReportedAsDamagedInsteadOfLoaded) {
    fs::path bundle = SERIVANE_BUNDLE_PATH;
    std::ifstream in(bundle / "Contents" / "x86_64-linux" / "Serivane.so", std::ios::binary);
    std::vector<char> library(std::istreambuf_iterator<char>(in), {});
    ASSERT_GT(library.size(), sizeof(Elf64_Ehdr));
    for (std::size_t cut : cutLengths(library)) {
        fs::path copy = folder / ("Cut" + std::to_string(cut) + ".so");
        std::ofstream(copy, std::ios::binary).write(library.data(), static_cast<long>(cut));
        Outcome outcome = runTool({"info", "--bundle", copy.string()});
        EXPECT_EQ(outcome.code, 1) << cut;
        EXPECT_TRUE(outcome.out.empty()) << cut;
        EXPECT_NE(outcome.err.find("damaged bundle: " + copy.string()), std::string::npos)
            << outcome.err;
    }
}

TEST_F(CommandLineTest, InfoShowsIdentityParametersAndPrograms) {
    Outcome text = runTool({"info"});
    ASSERT_EQ(text.code, 0) << text.err;
    for (const char* part :
         {"Serivane 1.0.0 by Tolvane", "0DE7AEF24E4FDE006E566C5452345A51", "\"Output 1\"",
          "Binaural Pan", "LFO Pos", "---- default ----", "Programs: Factory Presets (150)"}) {
        EXPECT_NE(text.out.find(part), std::string::npos) << part;
    }

    Outcome json = runTool({"info", "--json"});
    ASSERT_EQ(json.code, 0) << json.err;
    for (const char* part : {"\"class\": {", "\"buses\": [", "\"parameters\": [", "\"programs\": [",
                             "\"title\": \"Binaural\"", "\"defaultDisplay\": \"Right\"",
                             "\"subCategories\": [", "\"---- default ----\""}) {
        EXPECT_NE(json.out.find(part), std::string::npos) << part;
    }
    std::size_t programs = json.out.find("\"programs\": [");
    std::size_t entries = 0;
    for (std::size_t at = json.out.find('\n', programs); at != std::string::npos;
         at = json.out.find('\n', at + 1))
        ++entries;
    EXPECT_EQ(entries, 150u + 3u) << "one line per name, then the closing lines";
}

} // namespace
} // namespace serivane::integration
