#pragma once

#include "tools/sound/SoundBuffer.h"

#include <sndfile.h>
#include <string>
#include <vector>

namespace serivane::tools {

// Reads frames of a sound file (anything libsndfile opens: WAV, FLAC, Ogg Vorbis, Opus, MP3 …): by
// position, one channel at a time, as doubles in -1 … 1, or from the start, interleaved as floats.
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

    // Frames [first, first + count) split into one vector per channel from index `at` on, as they
    // are in the file (a float file may hold NaN or infinity); each vector keeps its first `at`
    // values and ends after the frames read.
    bool read(long long first, long long count, std::vector<std::vector<double>>& channels,
              std::size_t at, std::string& error);

    // At most `count` frames from where the file stands (its start, once opened), interleaved;
    // how many were read, 0 with `error` set when none could be.
    long long readNext(float* frames, long long count, std::string& error);

private:
    SNDFILE* file_ = nullptr;
    SF_INFO info_{};
    std::string path_;
    std::vector<double> interleaved_;
};

// The longest recording read into memory, in samples over all channels (1 GiB of floats).
inline constexpr long long maxRecordingSamples = 1LL << 28;

// Reads a mono or stereo recording that libsndfile understands (WAV, FLAC, Ogg Vorbis, Opus,
// MP3 and more) whole into memory. Recordings with more channels are refused: without knowing their
// layout, any downmix would be a guess; so are recordings holding a NaN or an infinity, named
// with the first one's place.
bool readRecording(const std::string& path, SoundBuffer& recording, std::string& error);

} // namespace serivane::tools
