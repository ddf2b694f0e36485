#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

namespace serivane::tools {

// The most recent stereo frames of a stream, written by the audio thread and read by another
// thread without a lock: every sample is an atomic (a plain move on common processors), and a
// reader checks afterwards that the writer did not overtake what it copied. The writer
// publishes at least every `maxUnpublished` frames.
class SoundRing {
public:
    SoundRing(std::size_t capacityFrames, std::size_t maxUnpublished)
        : capacity_(capacityFrames), maxUnpublished_(maxUnpublished),
          samples_(new std::atomic<float>[capacityFrames * 2]) {
        for (std::size_t i = 0; i < capacityFrames * 2; ++i) samples_[i].store(0.0f);
    }

    std::size_t capacity() const { return capacity_; }

    // Writer side, one frame at a time; publish() makes the frames visible.
    void put(float left, float right) {
        std::size_t at = (pending_ % capacity_) * 2;
        samples_[at].store(left, std::memory_order_release);
        samples_[at + 1].store(right, std::memory_order_release);
        ++pending_;
    }
    void publish() { written_.store(pending_, std::memory_order_release); }

    // Reader side: the last `frames` frames, one vector per ear; false when fewer were written
    // or the writer overtook the copy.
    bool latest(std::size_t frames, std::vector<float>& left, std::vector<float>& right) const {
        std::uint64_t end = written_.load(std::memory_order_acquire);
        if (frames + maxUnpublished_ > capacity_ || end < frames) return false;
        left.resize(frames);
        right.resize(frames);
        std::uint64_t first = end - frames;
        for (std::size_t i = 0; i < frames; ++i) {
            std::size_t at = ((first + i) % capacity_) * 2;
            left[i] = samples_[at].load(std::memory_order_acquire);
            right[i] = samples_[at + 1].load(std::memory_order_acquire);
        }
        // A sample the writer overwrote was stored after it published a count at most
        // maxUnpublished frames behind it, so that count is seen now.
        return written_.load(std::memory_order_acquire) + maxUnpublished_ - first <= capacity_;
    }

private:
    std::size_t capacity_;
    std::size_t maxUnpublished_;
    std::unique_ptr<std::atomic<float>[]> samples_;
    std::uint64_t pending_ = 0; // the writer's own count
    std::atomic<std::uint64_t> written_{0};
};

} // namespace serivane::tools
