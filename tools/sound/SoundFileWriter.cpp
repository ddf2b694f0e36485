#include "tools/sound/SoundFileWriter.h"
#include "platform/Utf8Path.h"
#include "tools/files/FileAccess.h"
#include "tools/files/FileLinks.h"
#include "tools/files/TemporaryFile.h"

#include <algorithm>
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
    if (isLossy(type)) return sndfileFormat(type);
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

// The coding of a lossy type: libsndfile's compression level runs the other way from quality.
bool setQuality(SNDFILE* file, FileType type, double quality) {
    if (!isLossy(type)) return true;
    // The MP3 encoder refuses the very end of the scale.
    double level = std::min(1.0 - quality, type == FileType::Mp3 ? 0.99 : 1.0);
    return sf_command(file, SFC_SET_COMPRESSION_LEVEL, &level, sizeof level) == SF_TRUE;
}

} // namespace

SoundFileWriter::~SoundFileWriter() {
    discard();
}

bool SoundFileWriter::open(const std::string& target, FileType type, SampleFormat format,
                           int sampleRate, int channels, long long frames, std::string& error,
                           double quality) {
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
    if (std::string missing = missingFileType(type, true); !missing.empty()) {
        error = "cannot write " + target + ": " + missing;
        return false;
    }
    if (!sf_format_check(&info)) {
        error = "cannot write " + target + ": " + fileTypeName(type) + " takes no sound of " +
                std::to_string(sampleRate) + " Hz in " + std::to_string(channels) + " channels";
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
    if (!setQuality(file_, type, quality)) {
        error = "cannot write " + target + ": " + sf_strerror(file_);
        discard();
        return false;
    }
    // A coded file's size is not known ahead; the samples of an uncompressed file are.
    if (type == FileType::Wav &&
        !reserveSpace(fd, frames * channels * static_cast<long long>(bytesPerSample(format)))) {
        error = "cannot write " + target + ": " + std::strerror(errno);
        discard();
        return false;
    }
    if (format != SampleFormat::Float) sf_command(file_, SFC_SET_CLIPPING, nullptr, SF_TRUE);
    return true;
}

bool SoundFileWriter::openStream(std::ostream& out, SampleFormat format, int sampleRate,
                                 int channels, long long frames, std::string& error) {
    discard();
    target_ = "standard output";
    const long long dataBytes = frames * channels * bytesPerSample(format);
    SF_INFO info{};
    info.samplerate = sampleRate;
    info.channels = channels;
    // Plain WAV even when long: its header's sizes then stand for "until the stream ends".
    info.format = formatCode(FileType::Wav, format, 0);
    binaryStandardOutput();
    stream_ = std::make_unique<StreamTarget>(out);
    file_ = sf_open_virtual(stream_->io(), SFM_WRITE, &info, stream_.get());
    if (file_ == nullptr) {
        error = std::string("cannot write to standard output: ") + sf_strerror(nullptr);
        discard();
        return false;
    }
    if (format != SampleFormat::Float) sf_command(file_, SFC_SET_CLIPPING, nullptr, SF_TRUE);
    if (!stream_->announce(dataBytes)) {
        error = "writing to standard output failed";
        discard();
        return false;
    }
    streamOut_ = &out;
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
    if (stream_) {
        stream_.reset();
        if (streamOut_->flush()) return true;
        error = "writing to standard output failed";
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
    stream_.reset();
    if (!temporary_.empty()) removeFile(temporary_);
    temporary_.clear();
}

} // namespace serivane::tools
