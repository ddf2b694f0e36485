#include "AudioBlock.h"

#include "FuzzCheck.h"

#include <cmath>
#include <limits>

using namespace Steinberg;
using namespace Steinberg::Vst;

AudioBlock::AudioBlock(int32 frames, int32 sampleSize) {
    const auto size = static_cast<size_t>(frames);
    for (int e = 0; e < 2; ++e) {
        if (sampleSize == kSample32) {
            single_[e].assign(size, std::numeric_limits<float>::quiet_NaN());
            singlePointers_[e] = single_[e].data();
        } else {
            double_[e].assign(size, std::numeric_limits<double>::quiet_NaN());
            doublePointers_[e] = double_[e].data();
        }
    }
    bus_.numChannels = 2;
    if (sampleSize == kSample32)
        bus_.channelBuffers32 = singlePointers_;
    else
        bus_.channelBuffers64 = doublePointers_;
    data_.processMode = kRealtime;
    data_.symbolicSampleSize = sampleSize;
    data_.numSamples = frames;
    data_.numOutputs = 1;
    data_.outputs = &bus_;
}

void AudioBlock::RequireWithin(double bound) const {
    for (int e = 0; e < 2; ++e) {
        RequireWithin(single_[e], e, bound);
        RequireWithin(double_[e], e, bound);
    }
}

template <typename Sample>
void AudioBlock::RequireWithin(const std::vector<Sample>& channel, int ear, double bound) const {
    for (size_t t = 0; t < channel.size(); ++t) {
        const double v = channel[t];
        Require(std::isfinite(v), "ear %d frame %zu of %zu is %g", ear, t, channel.size(), v);
        Require(std::fabs(v) <= bound, "ear %d frame %zu is %g, beyond the bound %g", ear, t, v,
                bound);
    }
}
