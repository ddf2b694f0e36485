#include "tools/sound/SoundFormat.h"
#include "tools/report/NumberText.h"

#include <sndfile.h>
#include <vector>

namespace serivane::tools {

namespace {

constexpr FileType allTypes[] = {FileType::Wav, FileType::Flac, FileType::Ogg, FileType::Opus,
                                 FileType::Mp3};

constexpr std::string_view extensionOf(FileType type) {
    switch (type) {
    case FileType::Wav:
        return ".wav";
    case FileType::Flac:
        return ".flac";
    case FileType::Ogg:
        return ".ogg";
    case FileType::Opus:
        return ".opus";
    case FileType::Mp3:
        return ".mp3";
    }
    return "";
}

bool listed(int command, int countCommand, int format) {
    int count = 0;
    sf_command(nullptr, countCommand, &count, sizeof count);
    for (int i = 0; i < count; ++i) {
        SF_FORMAT_INFO info{};
        info.format = i;
        if (sf_command(nullptr, command, &info, sizeof info) == 0 && info.format == format)
            return true;
    }
    return false;
}

// Whether the linked libsndfile knows the container and the coding of the type at all; a
// library built without the codec libraries lists neither.
bool available(FileType type) {
    const int format = sndfileFormat(type);
    return listed(SFC_GET_FORMAT_MAJOR, SFC_GET_FORMAT_MAJOR_COUNT, format & SF_FORMAT_TYPEMASK) &&
           listed(SFC_GET_FORMAT_SUBTYPE, SFC_GET_FORMAT_SUBTYPE_COUNT, format & SF_FORMAT_SUBMASK);
}

} // namespace

// A container and coding libsndfile knows the type by.
int sndfileFormat(FileType type) {
    switch (type) {
    case FileType::Wav:
        return SF_FORMAT_WAV | SF_FORMAT_PCM_16;
    case FileType::Flac:
        return SF_FORMAT_FLAC | SF_FORMAT_PCM_16;
    case FileType::Ogg:
        return SF_FORMAT_OGG | SF_FORMAT_VORBIS;
    case FileType::Opus:
        return SF_FORMAT_OGG | SF_FORMAT_OPUS;
    case FileType::Mp3:
        return SF_FORMAT_MPEG | SF_FORMAT_MPEG_LAYER_III;
    }
    return 0;
}

std::optional<FileType> fileTypeOf(std::string_view path) {
    for (FileType type : allTypes) {
        std::string_view extension = extensionOf(type);
        if (path.size() > extension.size() &&
            equalsIgnoringCase(path.substr(path.size() - extension.size()), extension))
            return type;
    }
    return std::nullopt;
}

std::string missingFileType(FileType wanted, bool writing) {
    if (available(wanted)) return "";
    std::vector<std::string> names;
    for (FileType type : allTypes) {
        if (available(type)) names.emplace_back(fileTypeName(type));
    }
    std::string have;
    for (std::size_t i = 0; i < names.size(); ++i)
        have += (i == 0 ? "" : i + 1 == names.size() ? " and " : ", ") + names[i];
    return std::string("this build of serivane ") + (writing ? "writes" : "reads") + " no " +
           fileTypeName(wanted) + " files, only " + have;
}

} // namespace serivane::tools
