#include "tools/sound/BlockSink.h"

#include "tools/sound/Pcm16.h"

#include <algorithm>

namespace serivane::tools {

namespace {

constexpr int kGatheredFrames = 262144;

} // namespace

template <typename Sample>
BlockSink<Sample>::BlockSink(SoundFileWriter& writer, LevelMeter& meter, SampleFormat format,
                             int channels, int maxFrames)
    : writer_(writer), meter_(meter), channels_(channels), pcm16_(format == SampleFormat::Pcm16) {
    const auto size = static_cast<std::size_t>(channels) * static_cast<std::size_t>(maxFrames);
    if (pcm16_) {
        capacity_ = std::max(maxFrames, kGatheredFrames);
        shorts_.resize(static_cast<std::size_t>(channels) * static_cast<std::size_t>(capacity_));
    } else {
        interleaved_.resize(size);
    }
}

template <typename Sample>
bool BlockSink<Sample>::add(const Sample* const* planar, int frames, std::string& error) {
    for (int c = 0; c < channels_; ++c) meter_.add(planar[c], frames);
    // The meter counts them anyway: a NaN or an infinity would play at full scale or not at all.
    if (meter_.nonFinite() > 0) {
        error = "the rendered sound holds samples that are NaN or infinite: nothing was written "
                "to " +
                writer_.target();
        return false;
    }
    if (pcm16_) {
        if (gathered_ + frames > capacity_ && !finish(error)) return false;
        toPcm16(planar, channels_, frames, shorts_.data() + gathered_ * channels_);
        gathered_ += frames;
        return true;
    }
    for (int f = 0; f < frames; ++f) {
        for (int c = 0; c < channels_; ++c) interleaved_[f * channels_ + c] = planar[c][f];
    }
    return writer_.write(interleaved_.data(), frames, error);
}

template <typename Sample> bool BlockSink<Sample>::finish(std::string& error) {
    const int frames = gathered_;
    gathered_ = 0;
    return frames == 0 || writer_.write(shorts_.data(), frames, error);
}

template class BlockSink<float>;
template class BlockSink<double>;

} // namespace serivane::tools
