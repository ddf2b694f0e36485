#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace serivane::tools {

enum class FileType { Wav, Flac, Ogg, Opus, Mp3 };
enum class SampleFormat { Pcm16, Pcm24, Float };

// The quality of a lossy file when none is given, from 0 (smallest) to 1 (best): the middle,
// well clear of the lowest, where Opus merges the ears and the beat with them.
inline constexpr double defaultQuality = 0.5;

constexpr const char* formatName(SampleFormat format) {
    switch (format) {
    case SampleFormat::Pcm16:
        return "pcm16";
    case SampleFormat::Pcm24:
        return "pcm24";
    case SampleFormat::Float:
        return "float";
    }
    return "";
}

// "WAV", "FLAC", "Ogg Vorbis", "Opus", "MP3".
constexpr const char* fileTypeName(FileType type) {
    switch (type) {
    case FileType::Wav:
        return "WAV";
    case FileType::Flac:
        return "FLAC";
    case FileType::Ogg:
        return "Ogg Vorbis";
    case FileType::Opus:
        return "Opus";
    case FileType::Mp3:
        return "MP3";
    }
    return "";
}

// Whether the type stores a coded approximation, set by a quality, rather than the samples.
constexpr bool isLossy(FileType type) {
    return type == FileType::Ogg || type == FileType::Opus || type == FileType::Mp3;
}

// The container and coding libsndfile knows the type by (16-bit samples for WAV and FLAC).
int sndfileFormat(FileType type);

// The type a file name's extension stands for, in any case; none for another extension.
std::optional<FileType> fileTypeOf(std::string_view path);

// Why this build's libsndfile cannot write (`writing`) or read files of the type, naming the
// types it has; empty when it can.
std::string missingFileType(FileType type, bool writing);

} // namespace serivane::tools
