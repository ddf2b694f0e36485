#include "tools/AmbientMix.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace serivane::tools {

namespace {

// The recording with its last `crossfade` frames faded out over its first ones faded in, so
// that playing on from the end into frame `crossfade` continues without a seam.
std::vector<float> seamless(const SoundBuffer& recording, std::int64_t crossfade) {
    std::vector<float> samples = recording.samples;
    const int channels = recording.channels;
    const std::int64_t tail = recording.frames() - crossfade;
    for (std::int64_t j = 0; j < crossfade; ++j) {
        double angle = std::numbers::pi / 2.0 * (static_cast<double>(j) + 0.5) / crossfade;
        auto out = static_cast<float>(std::cos(angle));
        auto in = static_cast<float>(std::sin(angle));
        for (int c = 0; c < channels; ++c) {
            float& sample = samples[(tail + j) * channels + c];
            sample = out * sample + in * samples[j * channels + c];
        }
    }
    return samples;
}

} // namespace

AmbientMix::AmbientMix(const SoundBuffer& recording, int outputRate, double levelDecibels)
    : resampler_(recording.sampleRate, outputRate), channels_(recording.channels),
      length_(recording.frames()), gain_(static_cast<float>(std::pow(10.0, levelDecibels / 20.0))) {
    auto crossfade =
        std::min(static_cast<std::int64_t>(std::lround(crossfadeSeconds * recording.sampleRate)),
                 length_ / 2);
    loopFrames_ = length_ - crossfade;
    std::vector<float> body = seamless(recording, crossfade);
    const std::size_t reach = static_cast<std::size_t>(resampler_.reach());
    const auto width = static_cast<std::size_t>(channels_);
    frames_.assign((reach + static_cast<std::size_t>(length_) + 2 * reach) * width, 0.0f);
    std::copy(body.begin(), body.end(),
              frames_.begin() + static_cast<std::ptrdiff_t>(reach * width));
    float* continuation = frames_.data() + (reach + static_cast<std::size_t>(length_)) * width;
    for (std::size_t j = 0; j < 2 * reach; ++j) {
        std::size_t from =
            static_cast<std::size_t>(crossfade) + j % static_cast<std::size_t>(loopFrames_);
        for (std::size_t c = 0; c < width; ++c)
            continuation[j * width + c] = body[from * width + c];
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
        float left = gain_ * frame[0];
        float right = channels_ == 2 ? gain_ * frame[1] : left;
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
