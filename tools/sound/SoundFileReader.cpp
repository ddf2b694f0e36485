#include "tools/sound/SoundFileReader.h"
#include "platform/Utf8Path.h"
#include "tools/files/FileAccess.h"

#include "tools/report/NumberText.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <sndfile.h>

namespace serivane::tools {

namespace {

// Closes the file on every way out.
struct OpenFile {
    SNDFILE* file;
    ~OpenFile() {
        if (file != nullptr) sf_close(file);
    }
};

} // namespace

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
    SF_INFO info{};
    OpenFile open{openSoundFile(path, SFM_READ, &info)};
    if (open.file == nullptr) {
        error = "cannot read " + path + ": " + sf_strerror(nullptr);
        return false;
    }
    if (info.channels > 2) {
        error = path + " has " + std::to_string(info.channels) +
                " channels: give a mono or stereo recording";
        return false;
    }
    if (info.frames <= 0 || info.samplerate <= 0) {
        error = path + " holds no sound";
        return false;
    }
    if (info.frames > maxRecordingSamples / info.channels) {
        error = path + " is too long to hold in memory: give at most " +
                std::to_string(maxRecordingSamples / info.channels / info.samplerate / 60) +
                " minutes";
        return false;
    }
    recording.sampleRate = info.samplerate;
    recording.channels = info.channels;
    recording.samples.assign(static_cast<std::size_t>(info.frames * info.channels), 0.0f);
    sf_count_t read = sf_readf_float(open.file, recording.samples.data(), info.frames);
    if (read <= 0) {
        error = "cannot read " + path + ": " + sf_strerror(open.file);
        return false;
    }
    // A file shorter than its header says keeps what could be read.
    recording.samples.resize(static_cast<std::size_t>(read * info.channels));
    // A float file can hold NaN or infinity, which would play at full scale or not at all.
    auto bad = std::find_if(recording.samples.begin(), recording.samples.end(),
                            [](float sample) { return !std::isfinite(sample); });
    if (bad == recording.samples.end()) return true;
    const auto frame = (bad - recording.samples.begin()) / info.channels;
    error = path + " cannot be mixed: its sample at frame " + std::to_string(frame) + " (" +
            significant(static_cast<double>(frame) / info.samplerate, 6) + " s) is NaN or infinite";
    return false;
}

} // namespace serivane::tools
