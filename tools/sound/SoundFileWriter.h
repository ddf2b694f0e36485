#pragma once

#include "tools/sound/SoundFormat.h"
#include "tools/sound/StreamTarget.h"

#include <memory>
#include <ostream>
#include <sndfile.h>
#include <string>

namespace serivane::tools {

// Writes interleaved frames to a temporary file beside the target and renames it into place on
// commit, so that a failed or abandoned render never leaves a partial file under the target's
// name. A target that is a symbolic link stays one: the file it names gets the frames. WAV files
// too long for plain WAV are written as RF64. A WAV stream (standard output) gets the frames as
// they come.
class SoundFileWriter {
public:
    SoundFileWriter() = default;
    ~SoundFileWriter();
    SoundFileWriter(const SoundFileWriter&) = delete;
    SoundFileWriter& operator=(const SoundFileWriter&) = delete;

    // `frames` is the expected length, which decides between WAV and RF64; `quality`, from 0 to
    // 1, sets the lossy types' coding.
    bool open(const std::string& target, FileType type, SampleFormat format, int sampleRate,
              int channels, long long frames, std::string& error, double quality = defaultQuality);
    // A WAV stream onto `out`, its header stating `frames`; `out` is flushed on commit.
    bool openStream(std::ostream& out, SampleFormat format, int sampleRate, int channels,
                    long long frames, std::string& error);
    bool write(const float* interleaved, long long frames, std::string& error);
    bool write(const double* interleaved, long long frames, std::string& error);
    // 16-bit samples go to a 16-bit file unconverted.
    bool write(const short* interleaved, long long frames, std::string& error);
    bool commit(std::string& error);

    const std::string& target() const { return target_; }
    const std::string& temporaryPath() const { return temporary_; }

private:
    void discard();
    bool checkWritten(sf_count_t written, long long frames, std::string& error);

    SNDFILE* file_ = nullptr;
    std::unique_ptr<StreamTarget> stream_;
    std::ostream* streamOut_ = nullptr;
    std::string target_;      // as given, for messages
    std::string destination_; // the file it names, through any links
    std::string temporary_;
};

} // namespace serivane::tools
