#pragma once

#include <cstdint>
#include <vector>

namespace serivane::tools {

// Where a resampler reads its source: a whole source frame and the part of the next one, in
// units of 1/outputRate of a frame, so that stepping is exact over any length.
struct SourcePosition {
    std::int64_t frame = 0;
    std::int64_t remainder = 0;
};

// Band-limited conversion between two fixed sample rates by polyphase interpolation.
//
// The kernel is a sinc windowed by a Kaiser window (beta 9, about 90 dB of stop band) with 32
// zero crossings on each side, its cutoff at 91 % of the lower rate's Nyquist frequency: from
// 44.1 kHz that passes 18 kHz flat and stops images from 22.05 kHz up. Downsampling widens the
// kernel in source frames by the rate ratio so that nothing above the new Nyquist folds back.
// The kernel is tabulated at 512 fractional offsets; a frame between two offsets is the linear
// blend of both, which keeps the interpolation error near the window's own stop band.
//
// Building the table allocates; interpolate() and advance() do not.
class Resampler {
public:
    Resampler(int sourceRate, int outputRate);

    // Equal rates: the source frame is the output frame, untouched.
    bool passesThrough() const { return reach_ == 0; }

    // Source frames the kernel reads on each side: frame - reach + 1 through frame + reach.
    int reach() const { return reach_; }

    // One output frame of `channels` (1 or 2) interleaved channels at `at`, reading `source`
    // (interleaved) around `source + at.frame * channels`.
    void interpolate(const float* source, int channels, SourcePosition at, float* out) const;

    // The position one output frame later.
    void advance(SourcePosition& at) const {
        at.remainder += sourceRate_;
        at.frame += at.remainder / outputRate_;
        at.remainder %= outputRate_;
    }

private:
    static constexpr int phases = 512;

    const float* row(int phase) const { return table_.data() + phase * 2 * reach_; }

    int sourceRate_;
    int outputRate_;
    int reach_ = 0;
    // (phases + 1) rows of 2 * reach coefficients, for source offsets -reach + 1 .. reach.
    std::vector<float> table_;
};

} // namespace serivane::tools
