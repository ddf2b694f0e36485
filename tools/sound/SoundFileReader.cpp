#include "tools/sound/SoundFileReader.h"
#include "platform/Utf8Path.h"
#include "tools/files/FileAccess.h"
#include "tools/report/NumberText.h"
#include "tools/sound/SoundFormat.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <optional>

namespace serivane::tools {

SoundFileReader::~SoundFileReader() {
    if (file_) sf_close(file_);
}

bool SoundFileReader::open(const std::string& path, std::string& error) {
    path_ = path;
    info_ = SF_INFO{};
    file_ = openSoundFile(path, SFM_READ, &info_);
    if (!file_) {
        // Beyond the errors libsndfile names for users, its texts speak of its own insides (a
        // header with a sample rate of 0 is "SF_INFO struct incomplete").
        const int reason = sf_error(nullptr);
        const bool named = reason == SF_ERR_UNRECOGNISED_FORMAT || reason == SF_ERR_SYSTEM ||
                           reason == SF_ERR_MALFORMED_FILE || reason == SF_ERR_UNSUPPORTED_ENCODING;
        const std::string reasonText =
            named ? std::string(sf_strerror(nullptr))
                  : "its header is not valid (a sample rate or channel count of 0, say)";
        std::optional<FileType> type = fileTypeOf(path);
        std::string missing = type ? missingFileType(*type, false) : "";
        error = "cannot read " + path + ": " + (missing.empty() ? reasonText : missing);
        return false;
    }
    return true;
}

bool SoundFileReader::read(long long first, long long count,
                           std::vector<std::vector<double>>& channels, std::size_t at,
                           std::string& error) {
    const auto width = static_cast<std::size_t>(info_.channels);
    interleaved_.resize(static_cast<std::size_t>(count) * width);
    sf_count_t got = 0;
    if (sf_seek(file_, first, SEEK_SET) == first)
        got = sf_readf_double(file_, interleaved_.data(), count);
    if (got != count) {
        error = "cannot read " + path_ + " past " +
                durationText(static_cast<double>(first + got) / info_.samplerate) +
                ": the file is damaged or shorter than its header says";
        return false;
    }
    channels.resize(width);
    for (std::vector<double>& channel : channels)
        channel.resize(at + static_cast<std::size_t>(count));
    if (width == 2) {
        // Stereo in one pass over the frames: the common case of a long file.
        double* left = channels[0].data() + at;
        double* right = channels[1].data() + at;
        for (std::size_t f = 0; f < static_cast<std::size_t>(count); ++f) {
            left[f] = interleaved_[2 * f];
            right[f] = interleaved_[2 * f + 1];
        }
        return true;
    }
    for (std::size_t c = 0; c < width; ++c) {
        for (std::size_t f = 0; f < static_cast<std::size_t>(count); ++f)
            channels[c][at + f] = interleaved_[f * width + c];
    }
    return true;
}

long long SoundFileReader::readNext(float* frames, long long count, std::string& error) {
    const sf_count_t read = sf_readf_float(file_, frames, count);
    if (read <= 0) {
        error = "cannot read " + path_ + ": " + sf_strerror(file_);
        return 0;
    }
    return read;
}

bool readRecording(const std::string& path, SoundBuffer& recording, std::string& error) {
    std::error_code ec;
    if (!std::filesystem::exists(Utf8Path(path), ec)) {
        error = "cannot read " + path + ": no such file";
        return false;
    }
    if (std::filesystem::is_directory(Utf8Path(path), ec)) {
        error = "cannot read " + path + ": it is a folder";
        return false;
    }
    SoundFileReader file;
    if (!file.open(path, error)) return false;
    const int channels = file.channels();
    if (channels > 2) {
        error = path + " has " + std::to_string(channels) +
                " channels: give a mono or stereo recording";
        return false;
    }
    if (file.frames() <= 0 || file.sampleRate() <= 0) {
        error = path + " holds no sound";
        return false;
    }
    if (file.frames() > maxRecordingSamples / channels) {
        error = path + " is too long to hold in memory: give at most " +
                std::to_string(maxRecordingSamples / channels / file.sampleRate() / 60) +
                " minutes";
        return false;
    }
    recording.sampleRate = file.sampleRate();
    recording.channels = channels;
    recording.samples.assign(static_cast<std::size_t>(file.frames() * channels), 0.0f);
    const long long read = file.readNext(recording.samples.data(), file.frames(), error);
    if (read == 0) return false;
    // A file shorter than its header says keeps what could be read.
    recording.samples.resize(static_cast<std::size_t>(read * channels));
    // A float file can hold NaN or infinity, which would play at full scale or not at all.
    auto bad = std::find_if(recording.samples.begin(), recording.samples.end(),
                            [](float sample) { return !std::isfinite(sample); });
    if (bad == recording.samples.end()) return true;
    const auto frame = (bad - recording.samples.begin()) / channels;
    error = path + " cannot be mixed: its sample at frame " + std::to_string(frame) + " (" +
            durationText(static_cast<double>(frame) / file.sampleRate()) + ") is NaN or infinite";
    return false;
}

} // namespace serivane::tools
