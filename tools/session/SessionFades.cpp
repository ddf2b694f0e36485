#include "tools/session/SessionFades.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace serivane::tools {

SessionFades::SessionFades(std::int64_t fadeInFrames, std::int64_t fadeOutFrames,
                           std::int64_t totalFrames)
    : fadeInLength_(std::max<std::int64_t>(0, fadeInFrames)) {
    if (totalFrames == openEnded) return;
    totalFrames = std::max<std::int64_t>(0, totalFrames);
    fadeOutLength_ = std::clamp<std::int64_t>(fadeOutFrames, 0, totalFrames);
    fadeInLength_ = std::min(fadeInLength_, totalFrames - fadeOutLength_);
    fadeOutStart_ = totalFrames - fadeOutLength_;
}

void SessionFades::stop(std::int64_t frames) {
    frames = std::max<std::int64_t>(0, frames);
    if (fadeOutLength_ >= 0 && fadeOutStart_ + fadeOutLength_ <= done_ + frames) return;
    fadeOutLevel_ = fadeOutGain(done_ - 1);
    fadeOutStart_ = done_;
    fadeOutLength_ = frames;
}

double SessionFades::fadeOutGain(std::int64_t frame) const {
    if (fadeOutLength_ < 0 || frame < fadeOutStart_) return 1.0;
    std::int64_t into = frame - fadeOutStart_ + 1;
    if (into >= fadeOutLength_) return 0.0;
    return fadeOutLevel_ *
           std::cos(std::numbers::pi / 2.0 * static_cast<double>(into) / fadeOutLength_);
}

double SessionFades::gainAt(std::int64_t frame) const {
    double gain = fadeOutGain(frame);
    if (frame < fadeInLength_)
        gain *= std::sin(std::numbers::pi / 2.0 * static_cast<double>(frame) / fadeInLength_);
    return gain;
}

template <typename Sample>
void SessionFades::apply(Sample* const* channels, int channelCount, int frames) {
    std::int64_t end = done_ + frames;
    bool fadeOutReached = fadeOutLength_ >= 0 && end > fadeOutStart_;
    if (done_ >= fadeInLength_ && !fadeOutReached) {
        done_ = end;
        return;
    }
    for (int f = 0; f < frames; ++f) {
        auto gain = static_cast<Sample>(gainAt(done_ + f));
        for (int c = 0; c < channelCount; ++c) channels[c][f] *= gain;
    }
    done_ = end;
}

template void SessionFades::apply<float>(float* const*, int, int);
template void SessionFades::apply<double>(double* const*, int, int);

} // namespace serivane::tools
