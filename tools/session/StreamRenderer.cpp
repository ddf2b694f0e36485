#include "tools/session/StreamRenderer.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace serivane::tools {

namespace {

// About 1.4 s of recent sound at 48 kHz, enough for a few looks at the spectrum.
constexpr std::size_t recentFrames = 65536;

} // namespace

StreamRenderer::StreamRenderer(host::ProcessDriver& driver, std::int64_t lengthFrames,
                               std::int64_t fadeFrames)
    : driver_(driver), sampleRate_(driver.config().sampleRate), length_(lengthFrames),
      fadeFrames_(std::max<std::int64_t>(1, fadeFrames)),
      block_(static_cast<std::size_t>(std::max(driver.outputChannelCount(), 2)),
             std::vector<float>(static_cast<std::size_t>(driver.config().maxBlock))),
      blockFrames_(driver.config().maxBlock), filled_(blockFrames_), used_(blockFrames_),
      recent_(recentFrames, static_cast<std::size_t>(driver.config().maxBlock)) {
    for (std::vector<float>& channel : block_) pointers_.push_back(channel.data());
}

void StreamRenderer::render(float* interleaved, std::int64_t frames) {
    std::int64_t done = 0;
    float peak = 0.0f;
    while (done < frames && !finished_.load(std::memory_order_relaxed)) {
        if (used_ == filled_) refill();
        std::int64_t count = std::min(frames - done, filled_ - used_);
        for (std::int64_t end = done + count; done < end; ++done, ++used_) {
            float gain = nextGain();
            auto at = static_cast<std::size_t>(used_);
            float left = block_[0][at] * gain;
            float right = block_[1][at] * gain;
            interleaved[2 * done] = left;
            interleaved[2 * done + 1] = right;
            peak = std::max({peak, std::fabs(left), std::fabs(right)});
            recent_.put(left, right);
            if (fadeStart_ >= 0 && position_ - fadeStart_ >= fadeFrames_) {
                finished_.store(true, std::memory_order_release);
                ++done;
                ++used_;
                break;
            }
        }
        recent_.publish();
    }
    std::fill(interleaved + 2 * done, interleaved + 2 * frames, 0.0f);
    played_.store(position_, std::memory_order_relaxed);
    raisePeak(peak);
}

// One block from the driver, with the changes that came in since the previous one and those
// the automation has due, through the session's shaping.
void StreamRenderer::refill() {
    host::ParameterChange change;
    while (changes_.pop(change)) driver_.parameterChanges().add(change.id, change.value);
    auto frames = static_cast<Steinberg::int32>(blockFrames_);
    bool rendered = !automation_ || automation_->prepare(driver_, rendered_, frames, frames);
    rendered = rendered && driver_.process(pointers_.data(), frames);
    if (!rendered) {
        failed_.store(true, std::memory_order_relaxed);
        frames = static_cast<Steinberg::int32>(blockFrames_);
        for (std::vector<float>& channel : block_) std::fill(channel.begin(), channel.end(), 0.0f);
    } else if (shaping_) {
        shaping_->process(pointers_.data(), static_cast<int>(pointers_.size()), frames);
    }
    rendered_ += frames;
    filled_ = frames;
    used_ = 0;
}

// 1 until the fade-out begins (on request, or so that it ends with the length), then a
// half-cosine down to 0, which has no corner where it starts or ends.
float StreamRenderer::nextGain() {
    std::int64_t frame = position_++;
    if (fadeStart_ < 0) {
        bool lengthEnds = length_ > 0 && frame >= length_ - fadeFrames_;
        if (!lengthEnds && !stopRequested_.load(std::memory_order_relaxed)) return 1.0f;
        fadeStart_ = frame;
        if (length_ > 0) fadeFrames_ = std::clamp<std::int64_t>(length_ - frame, 1, fadeFrames_);
    }
    std::int64_t into = frame - fadeStart_;
    if (into >= fadeFrames_) return 0.0f;
    double phase = std::numbers::pi * static_cast<double>(into + 1) / fadeFrames_;
    return static_cast<float>(0.5 * (1.0 + std::cos(phase)));
}

void StreamRenderer::raisePeak(float level) {
    float seen = peak_.load(std::memory_order_relaxed);
    while (level > seen && !peak_.compare_exchange_weak(seen, level, std::memory_order_relaxed)) {
    }
}

} // namespace serivane::tools
