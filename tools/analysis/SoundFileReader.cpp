#include "tools/analysis/SoundFileReader.h"
#include "tools/files/FileAccess.h"

#include <cmath>
#include <cstdio>

namespace serivane::tools {

SoundFileReader::~SoundFileReader() {
    if (file_) sf_close(file_);
}

bool SoundFileReader::open(const std::string& path, std::string& error) {
    path_ = path;
    info_ = SF_INFO{};
    file_ = openSoundFile(path, SFM_READ, &info_);
    if (!file_) {
        error = "cannot read " + path + ": " + sf_strerror(nullptr);
        return false;
    }
    if (info_.samplerate <= 0 || info_.channels <= 0) {
        error = path + " has no sample rate or no channels";
        return false;
    }
    return true;
}

bool SoundFileReader::read(long long first, long long count,
                           std::vector<std::vector<double>>& channels, std::string& error) {
    const auto width = static_cast<std::size_t>(info_.channels);
    interleaved_.resize(static_cast<std::size_t>(count) * width);
    sf_count_t got = 0;
    if (sf_seek(file_, first, SEEK_SET) == first)
        got = sf_readf_double(file_, interleaved_.data(), count);
    if (got != count) {
        char at[32];
        std::snprintf(at, sizeof at, "%.6g", static_cast<double>(first + got) / info_.samplerate);
        error = "cannot read " + path_ + " past " + at +
                " s: the file is damaged or shorter than its header says";
        return false;
    }
    channels.resize(width);
    for (std::size_t c = 0; c < width; ++c) {
        channels[c].resize(static_cast<std::size_t>(count));
        // A float file may hold NaN or infinity; they count as silence rather than spoil
        // every transform they enter.
        for (std::size_t f = 0; f < static_cast<std::size_t>(count); ++f) {
            const double sample = interleaved_[f * width + c];
            channels[c][f] = std::isfinite(sample) ? sample : 0.0;
        }
    }
    return true;
}

} // namespace serivane::tools
