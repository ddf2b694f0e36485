#pragma once

#include "tools/Command.h"
#include "tools/Options.h"
#include "tools/commands/SessionOptions.h"
#include "tools/sound/SoundFormat.h"

#include <string>
#include <vector>

namespace serivane::tools {

// Limits that keep a render's frame count and block sizes sane.
inline constexpr int minSampleRate = 8000;
inline constexpr int maxSampleRate = 384000;
inline constexpr int maxBlock = 65536;

struct RenderOptions {
    std::string bundle;
    std::string output;
    FileType fileType = FileType::Wav;
    std::vector<std::string> presets; // applied in order
    std::vector<Setting> settings;
    std::string program; // a program file or the name of a built-in program
    double seconds = 60.0;
    bool secondsGiven = false; // otherwise a program sets the length
    int sampleRate = 48000;
    int block = 512;
    int precision = 32;
    SampleFormat format = SampleFormat::Pcm24;
    double quality = defaultQuality; // of a lossy file
    bool toStandardOutput = false;   // OUT is "-": a WAV stream for a pipe
    bool analyze = false;            // measure the written file and print its beat
    std::string plot; // and draw the measurement (beside a program's plan) as this PNG
    SessionOptions session;
};

// `serivane render`: the instrument offline into a WAV, FLAC, Ogg Vorbis, Opus or MP3 file, or
// as a WAV stream onto standard output.
class RenderCommand : public Command {
public:
    std::string_view name() const override { return "render"; }
    std::string_view summary() const override {
        return "render the instrument offline to a WAV, FLAC, Ogg, Opus or MP3 file";
    }
    std::string_view usage() const override;
    void define(CLI::App& app) override;
    void check() override;
    std::string refuse(const std::string& word) const override;
    int run(const Console& console) override;

    const RenderOptions& options() const { return options_; }

private:
    void checkOutputType();

    RenderOptions options_;
    CLI::Option* seconds_ = nullptr;
    CLI::Option* format_ = nullptr;
    CLI::Option* quality_ = nullptr;
};

} // namespace serivane::tools
