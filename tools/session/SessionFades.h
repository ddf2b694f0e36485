#pragma once

#include <cstdint>

namespace serivane::tools {

// Equal-power fades over a session's output: sin(pi/2 * t) in, cos(pi/2 * t) out, starting
// and ending at silence, so neither end clicks. A session of known length fades out into its
// last frame; an open-ended one (live playback) fades out when stop() asks. Allocation-free.
class SessionFades {
public:
    // A session with no known end.
    static constexpr std::int64_t openEnded = -1;

    // Fade lengths are cut so that both fit into `totalFrames` (the fade-out first).
    SessionFades(std::int64_t fadeInFrames, std::int64_t fadeOutFrames,
                 std::int64_t totalFrames = openEnded);

    // Fades out from the next frame on over `frames`, continuing from the level now sounding;
    // a fade-out that would end sooner anyway is kept.
    void stop(std::int64_t frames);

    // Every frame from here on is silent.
    bool finished() const { return fadeOutLength_ >= 0 && done_ >= fadeOutStart_ + fadeOutLength_; }

    template <typename Sample> void apply(Sample* const* channels, int channelCount, int frames);

private:
    double fadeOutGain(std::int64_t frame) const;
    double gainAt(std::int64_t frame) const;

    std::int64_t fadeInLength_;
    std::int64_t fadeOutStart_ = 0;
    std::int64_t fadeOutLength_ = -1; // negative: no fade-out planned
    double fadeOutLevel_ = 1.0;       // the level the fade-out starts from
    std::int64_t done_ = 0;
};

} // namespace serivane::tools
