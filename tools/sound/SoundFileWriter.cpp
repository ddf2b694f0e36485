#include "tools/sound/SoundFileWriter.h"
#include "platform/Utf8Path.h"
#include "tools/files/FileAccess.h"
#include "tools/files/FileLinks.h"
#include "tools/files/TemporaryFile.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <vector>

namespace serivane::tools {

namespace fs = std::filesystem;

namespace {

// Plain WAV counts its data in 32 bits; longer renders need RF64.
constexpr long long wavDataLimit = 0xFFFFFFFFLL - 1024;

int bytesPerSample(SampleFormat format) {
    switch (format) {
    case SampleFormat::Pcm16:
        return 2;
    case SampleFormat::Pcm24:
        return 3;
    case SampleFormat::Float:
        return 4;
    }
    return 4;
}

int formatCode(FileType type, SampleFormat format, long long dataBytes) {
    int container = type == FileType::Flac     ? SF_FORMAT_FLAC
                    : dataBytes > wavDataLimit ? SF_FORMAT_RF64
                                               : SF_FORMAT_WAV;
    switch (format) {
    case SampleFormat::Pcm16:
        return container | SF_FORMAT_PCM_16;
    case SampleFormat::Pcm24:
        return container | SF_FORMAT_PCM_24;
    case SampleFormat::Float:
        return container | SF_FORMAT_FLOAT;
    }
    return 0;
}

// Whether this libsndfile writes the container at all; sf_format_check answers for a full one.
bool containerAvailable(int format) {
    int count = 0;
    sf_command(nullptr, SFC_GET_FORMAT_MAJOR_COUNT, &count, sizeof count);
    for (int i = 0; i < count; ++i) {
        SF_FORMAT_INFO major{};
        major.format = i;
        if (sf_command(nullptr, SFC_GET_FORMAT_MAJOR, &major, sizeof major) == 0 &&
            major.format == (format & SF_FORMAT_TYPEMASK))
            return true;
    }
    return false;
}

} // namespace

SoundFileWriter::~SoundFileWriter() {
    discard();
}

bool SoundFileWriter::open(const std::string& target, FileType type, SampleFormat format,
                           int sampleRate, int channels, long long frames, std::string& error) {
    discard();
    std::error_code ec;
    // A link stays a link: the render replaces the file it names.
    const std::string destination = followLinks(target);
    fs::path path = Utf8Path(destination);
    if (fs::is_directory(path, ec)) {
        error = "cannot write " + target + ": it is a folder";
        return false;
    }
    SF_INFO info{};
    info.samplerate = sampleRate;
    info.channels = channels;
    info.format = formatCode(type, format, frames * channels * bytesPerSample(format));
    // The Windows build's libsndfile has WAV only.
    if (!containerAvailable(info.format) || !sf_format_check(&info)) {
        error = "cannot write " + target + ": this build of serivane writes no " +
                (type == FileType::Flac ? "FLAC" : "such") + " files; write a .wav file instead";
        return false;
    }
    fs::path folder = path.has_parent_path() ? path.parent_path() : fs::path(".");
    // Appended piece by piece: GCC 12 misreports "." + string as an overlapping copy.
    std::string hidden = ".";
    hidden += path.filename().string();
    hidden += ".partial-XXXXXX";
    std::string pattern = (folder / hidden).string();
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    int fd = createTemporaryFile(name);
    if (fd < 0) {
        error = "cannot write " + target + ": " + std::strerror(errno);
        return false;
    }
    target_ = target;
    destination_ = destination;
    temporary_ = name.data();
    file_ = sf_open_fd(fd, SFM_WRITE, &info, SF_TRUE);
    if (file_ == nullptr) {
        error = std::string("cannot write ") + target + ": " + sf_strerror(nullptr);
        discard();
        return false;
    }
    // FLAC's size is not known ahead; the samples of an uncompressed file are.
    if (type != FileType::Flac &&
        !reserveSpace(fd, frames * channels * static_cast<long long>(bytesPerSample(format)))) {
        error = "cannot write " + target + ": " + std::strerror(errno);
        discard();
        return false;
    }
    if (format != SampleFormat::Float) sf_command(file_, SFC_SET_CLIPPING, nullptr, SF_TRUE);
    return true;
}

bool SoundFileWriter::write(const float* interleaved, long long frames, std::string& error) {
    return checkWritten(sf_writef_float(file_, interleaved, frames), frames, error);
}

bool SoundFileWriter::write(const double* interleaved, long long frames, std::string& error) {
    return checkWritten(sf_writef_double(file_, interleaved, frames), frames, error);
}

bool SoundFileWriter::write(const short* interleaved, long long frames, std::string& error) {
    return checkWritten(sf_writef_short(file_, interleaved, frames), frames, error);
}

bool SoundFileWriter::checkWritten(sf_count_t written, long long frames, std::string& error) {
    if (written == frames) return true;
    error = "writing " + target_ + " failed: " + sf_strerror(file_);
    return false;
}

bool SoundFileWriter::commit(std::string& error) {
    int closed = sf_close(file_);
    file_ = nullptr;
    if (closed != 0) {
        error = "finishing " + target_ + " failed: " + sf_error_number(closed);
        discard();
        return false;
    }
    // A render that ended early leaves space reserved for the frames it did not write.
    releaseReserve(temporary_);
    if (!replaceFile(temporary_, destination_)) {
        error = "cannot write " + target_ + ": " + std::strerror(errno);
        discard();
        return false;
    }
    temporary_.clear();
    return true;
}

void SoundFileWriter::discard() {
    if (file_ != nullptr) sf_close(file_);
    file_ = nullptr;
    if (!temporary_.empty()) removeFile(temporary_);
    temporary_.clear();
}

} // namespace serivane::tools
