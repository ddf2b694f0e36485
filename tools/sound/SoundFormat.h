#pragma once

namespace serivane::tools {

enum class FileType { Wav, Flac };
enum class SampleFormat { Pcm16, Pcm24, Float };

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

} // namespace serivane::tools
