#pragma once

#include "tools/session/AmbientMix.h"
#include "tools/session/NoiseBed.h"
#include "tools/session/SessionFades.h"

#include <optional>

namespace serivane::tools {

// What a session does to the instrument's output before it is heard or written: an ambient
// recording and a noise bed laid under the tones, then the fades over the sum. Block by block,
// allocation-free once built, so a live output can run it on its audio callback.
class SessionShaping {
public:
    SessionShaping(SessionFades fades, std::optional<AmbientMix> mix,
                   std::optional<NoiseBed> noise = std::nullopt)
        : fades_(fades), mix_(std::move(mix)), noise_(std::move(noise)) {}

    template <typename Sample> void process(Sample* const* channels, int channelCount, int frames) {
        if (mix_) mix_->addTo(channels, channelCount, frames);
        if (noise_) noise_->addTo(channels, channelCount, frames);
        fades_.apply(channels, channelCount, frames);
    }

    // Fades out over `frames` from the next frame on (a live session's stop).
    void stop(std::int64_t frames) { fades_.stop(frames); }
    bool finished() const { return fades_.finished(); }

private:
    SessionFades fades_;
    std::optional<AmbientMix> mix_;
    std::optional<NoiseBed> noise_;
};

} // namespace serivane::tools
