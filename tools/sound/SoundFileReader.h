#pragma once

#include "tools/sound/SoundBuffer.h"

#include <string>

namespace serivane::tools {

// The longest recording read into memory, in samples over all channels (1 GiB of floats).
inline constexpr long long maxRecordingSamples = 1LL << 28;

// Reads a mono or stereo recording that libsndfile understands (WAV, FLAC, Ogg Vorbis and
// more) whole into memory. Recordings with more channels are refused: without knowing their
// layout, any downmix would be a guess; so are recordings holding a NaN or an infinity, named
// with the first one's place.
bool readRecording(const std::string& path, SoundBuffer& recording, std::string& error);

} // namespace serivane::tools
