#include "tools/sound/SoundFileWriter.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sndfile.h>
#include <sys/stat.h>

namespace serivane::tools {
namespace {

namespace fs = std::filesystem;

class SoundFileWriterTest : public ::testing::Test {
protected:
    void SetUp() override {
        const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
        folder = fs::temp_directory_path() / (std::string("serivane-writer-") + test->name());
        fs::remove_all(folder);
        fs::create_directories(folder);
    }
    void TearDown() override {
        fs::permissions(folder, fs::perms::owner_all, fs::perm_options::add);
        fs::remove_all(folder);
    }

    fs::path folder;
};

SF_INFO readInfo(const fs::path& path, std::vector<double>& samples) {
    SF_INFO info{};
    SNDFILE* file = sf_open(path.c_str(), SFM_READ, &info);
    EXPECT_NE(file, nullptr) << sf_strerror(nullptr);
    if (file == nullptr) return info;
    samples.resize(static_cast<std::size_t>(info.frames * info.channels));
    sf_readf_double(file, samples.data(), info.frames);
    sf_close(file);
    return info;
}

TEST_F(SoundFileWriterTest, CommittedFilesHoldTheFramesInTheChosenFormat) {
    struct Case {
        const char* name;
        FileType type;
        SampleFormat format;
        long long expectedFrames;
        int expected;
    };
    const std::vector<float> frames = {0.0f, 0.25f, -0.5f, 2.0f, 0.125f, -0.125f};
    const long long hours = 48000LL * 3600 * 8;
    for (const Case& c :
         {Case{"a.wav", FileType::Wav, SampleFormat::Pcm24, 3, SF_FORMAT_WAV | SF_FORMAT_PCM_24},
          Case{"b.wav", FileType::Wav, SampleFormat::Float, 3, SF_FORMAT_WAV | SF_FORMAT_FLOAT},
          Case{"c.flac", FileType::Flac, SampleFormat::Pcm16, 3, SF_FORMAT_FLAC | SF_FORMAT_PCM_16},
          Case{"d.wav", FileType::Wav, SampleFormat::Pcm16, hours,
               SF_FORMAT_RF64 | SF_FORMAT_PCM_16}}) {
        fs::path target = folder / c.name;
        std::string error;
        {
            SoundFileWriter writer;
            ASSERT_TRUE(
                writer.open(target.string(), c.type, c.format, 44100, 2, c.expectedFrames, error))
                << error;
            ASSERT_TRUE(writer.write(frames.data(), 3, error)) << error;
            ASSERT_TRUE(writer.commit(error)) << error;
        }
        std::vector<double> samples;
        SF_INFO info = readInfo(target, samples);
        EXPECT_EQ(info.format, c.expected) << c.name;
        EXPECT_EQ(info.samplerate, 44100);
        EXPECT_EQ(info.channels, 2);
        ASSERT_EQ(samples.size(), frames.size());
        double overload = c.format == SampleFormat::Float ? 2.0 : 1.0; // integers clip
        EXPECT_NEAR(samples[3], overload, 1e-3) << c.name;
        EXPECT_NEAR(samples[2], -0.5, 1e-4) << c.name;
        struct stat status {};
        ASSERT_EQ(stat(target.c_str(), &status), 0);
        EXPECT_NE(status.st_mode & S_IRGRP, 0u) << "usual permissions, not the temp file's";
        // Space reserved for the frames announced but never written is given back.
        EXPECT_LE(status.st_blocks * 512, 64 * 1024) << c.name;
    }
    EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 4)
        << "no temporary files left behind";
}

TEST_F(SoundFileWriterTest, AnAbandonedFileLeavesNothingAndKeepsAnOlderTarget) {
    fs::path target = folder / "keep.wav";
    std::ofstream(target) << "older take";
    std::string error;
    {
        SoundFileWriter writer;
        ASSERT_TRUE(
            writer.open(target.string(), FileType::Wav, SampleFormat::Pcm16, 48000, 2, 0, error));
        EXPECT_TRUE(fs::exists(writer.temporaryPath()));
        EXPECT_EQ(fs::path(writer.temporaryPath()).parent_path(), folder);
    }
    EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 1);
    std::string kept;
    std::getline(std::ifstream(target), kept);
    EXPECT_EQ(kept, "older take");
}

TEST_F(SoundFileWriterTest, UnwritableTargetsAreRefused) {
    std::string error;
    SoundFileWriter writer;
    EXPECT_FALSE(writer.open((folder / "missing" / "a.wav").string(), FileType::Wav,
                             SampleFormat::Pcm24, 48000, 2, 0, error));
    EXPECT_NE(error.find("cannot write"), std::string::npos) << error;

    fs::create_directories(folder / "take.wav");
    EXPECT_FALSE(writer.open((folder / "take.wav").string(), FileType::Wav, SampleFormat::Pcm24,
                             48000, 2, 0, error));
    EXPECT_NE(error.find("folder"), std::string::npos) << error;

    if (geteuid() == 0) GTEST_SKIP() << "root writes into read-only folders";
    fs::permissions(folder, fs::perms::owner_read | fs::perms::owner_exec);
    EXPECT_FALSE(writer.open((folder / "a.wav").string(), FileType::Wav, SampleFormat::Pcm24, 48000,
                             2, 0, error));
    EXPECT_NE(error.find("Permission denied"), std::string::npos) << error;
}

} // namespace
} // namespace serivane::tools
