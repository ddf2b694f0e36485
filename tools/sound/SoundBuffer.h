#pragma once

#include <cstdint>
#include <vector>

namespace serivane::tools {

// A recording held in memory: interleaved samples at its own rate.
struct SoundBuffer {
    int sampleRate = 0;
    int channels = 0;
    std::vector<float> samples;

    std::int64_t frames() const {
        return channels > 0 ? static_cast<std::int64_t>(samples.size()) / channels : 0;
    }
};

} // namespace serivane::tools
