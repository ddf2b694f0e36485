#pragma once

#include "tools/sound/LevelMeter.h"
#include "tools/sound/SoundFileWriter.h"
#include "tools/sound/SoundFormat.h"

#include <cstdint>
#include <string>
#include <vector>

namespace serivane::tools {

// Where the render loop's planar blocks go: the level meter and the file. A 16-bit file gets
// its samples converted here, interleaved in the same pass, and gathered into large writes (a
// write per 512-frame block costs more in the kernel than the conversion); other formats are
// interleaved in the processing precision and left to libsndfile. A block holding a NaN or an
// infinity is refused, not written.
template <typename Sample> class BlockSink {
public:
    BlockSink(SoundFileWriter& writer, LevelMeter& meter, SampleFormat format, int channels,
              int maxFrames);

    bool add(const Sample* const* planar, int frames, std::string& error);
    // Writes what is still gathered; call once after the last block.
    bool finish(std::string& error);

private:
    SoundFileWriter& writer_;
    LevelMeter& meter_;
    int channels_;
    bool pcm16_;
    int gathered_ = 0; // frames in shorts_ not yet written
    int capacity_ = 0;
    std::vector<std::int16_t> shorts_;
    std::vector<Sample> interleaved_;
};

extern template class BlockSink<float>;
extern template class BlockSink<double>;

} // namespace serivane::tools
