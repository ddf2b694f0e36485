#include "tools/session/AmbientMix.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace serivane::tools {

namespace {

// Fades the last `crossfade` frames of `frames` out over its first ones faded in, so that
// playing on from the end into frame `crossfade` continues without a seam.
void crossfadeSeam(float* frames, std::int64_t length, int channels, std::int64_t crossfade) {
    const std::int64_t tail = length - crossfade;
    for (std::int64_t j = 0; j < crossfade; ++j) {
        double angle = std::numbers::pi / 2.0 * (static_cast<double>(j) + 0.5) / crossfade;
        auto out = static_cast<float>(std::cos(angle));
        auto in = static_cast<float>(std::sin(angle));
        for (int c = 0; c < channels; ++c) {
            float& sample = frames[(tail + j) * channels + c];
            sample = out * sample + in * frames[j * channels + c];
        }
    }
}

} // namespace

AmbientMix::AmbientMix(const SoundBuffer& recording, int outputRate, LevelCurve level)
    : resampler_(recording.sampleRate, outputRate), channels_(recording.channels),
      length_(recording.frames()), level_(std::move(level)) {
    auto crossfade =
        std::min(static_cast<std::int64_t>(std::lround(crossfadeSeconds * recording.sampleRate)),
                 length_ / 2);
    loopFrames_ = length_ - crossfade;
    const auto reach = static_cast<std::int64_t>(resampler_.reach());
    frames_.assign(static_cast<std::size_t>((reach + length_ + 2 * reach) * channels_), 0.0f);
    float* body = frames_.data() + reach * channels_;
    std::copy_n(recording.samples.begin(), length_ * channels_, body);
    crossfadeSeam(body, length_, channels_, crossfade);
    float* continuation = body + length_ * channels_;
    for (std::int64_t j = 0; j < 2 * reach; ++j) {
        std::int64_t from = crossfade + j % loopFrames_;
        std::copy_n(body + from * channels_, channels_, continuation + j * channels_);
    }
}

void AmbientMix::nextFrame(float* frame) {
    // Past the end, the same place one loop earlier: the kernel then reads the loop's own
    // frames on both sides, never the recording's unlooped start.
    while (at_.frame >= length_ + resampler_.reach()) at_.frame -= loopFrames_;
    resampler_.interpolate(frames_.data() + resampler_.reach() * channels_, channels_, at_, frame);
    resampler_.advance(at_);
}

template <typename Sample>
void AmbientMix::addTo(Sample* const* outputs, int outputCount, int frames) {
    float frame[2] = {};
    for (int f = 0; f < frames; ++f) {
        nextFrame(frame);
        auto gain = static_cast<float>(level_.next());
        float left = gain * frame[0];
        float right = channels_ == 2 ? gain * frame[1] : left;
        if (outputCount == 1) {
            outputs[0][f] += static_cast<Sample>(0.5f * (left + right));
        } else if (outputCount >= 2) {
            outputs[0][f] += static_cast<Sample>(left);
            outputs[1][f] += static_cast<Sample>(right);
        }
    }
}

template void AmbientMix::addTo<float>(float* const*, int, int);
template void AmbientMix::addTo<double>(double* const*, int, int);

} // namespace serivane::tools
