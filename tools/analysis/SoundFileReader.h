#pragma once

#include <sndfile.h>
#include <string>
#include <vector>

namespace serivane::tools {

// Reads frames of a sound file (anything libsndfile opens: WAV, FLAC, Ogg …) by position, one
// channel at a time, as doubles in -1 … 1.
class SoundFileReader {
public:
    SoundFileReader() = default;
    ~SoundFileReader();
    SoundFileReader(const SoundFileReader&) = delete;
    SoundFileReader& operator=(const SoundFileReader&) = delete;

    bool open(const std::string& path, std::string& error);

    int channels() const { return info_.channels; }
    int sampleRate() const { return info_.samplerate; }
    long long frames() const { return info_.frames; }

    // Frames [first, first + count) split into one vector per channel; samples that are not
    // finite read as 0.
    bool read(long long first, long long count, std::vector<std::vector<double>>& channels,
              std::string& error);

private:
    SNDFILE* file_ = nullptr;
    SF_INFO info_{};
    std::string path_;
    std::vector<double> interleaved_;
};

} // namespace serivane::tools
