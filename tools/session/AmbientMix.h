#pragma once

#include "tools/session/Resampler.h"
#include "tools/session/ValueCurve.h"
#include "tools/sound/SoundBuffer.h"

#include <cstdint>
#include <vector>

namespace serivane::tools {

// An ambient recording laid under the instrument's output at a fixed level: converted to the
// output's rate, played from its start and then looped for as long as the output runs. The
// loop's seam is an equal-power crossfade of the recording's last moments into its first ones,
// so the loop does not click; the first pass plays the recording's start as it is.
//
// Construction prepares everything and allocates; addTo() allocates nothing and takes no lock,
// so it may run on an audio callback.
class AmbientMix {
public:
    // Length of the seam's crossfade, shortened to half the recording for very short ones.
    static constexpr double crossfadeSeconds = 0.1;

    // `recording` has one or two channels and at least one frame; `level` follows the output's
    // frames.
    AmbientMix(const SoundBuffer& recording, int outputRate, LevelCurve level);
    AmbientMix(const SoundBuffer& recording, int outputRate, double levelDecibels)
        : AmbientMix(recording, outputRate, LevelCurve(levelDecibels)) {}

    // Adds the next `frames` of the recording to the output channels: a mono recording to
    // every ear, a stereo one left and right; a mono output gets the average of both ears.
    template <typename Sample> void addTo(Sample* const* outputs, int outputCount, int frames);

private:
    void nextFrame(float* frame);

    Resampler resampler_;
    int channels_;
    std::int64_t length_;     // frames of the recording
    std::int64_t loopFrames_; // frames of one loop, which ends at the recording's end
    // `reach` frames of silence, the recording with the crossfade in its last frames, and the
    // loop's start repeated for 2 * reach frames, so that the kernel never reads past the edge.
    std::vector<float> frames_;
    SourcePosition at_;
    LevelCurve level_;
};

} // namespace serivane::tools
