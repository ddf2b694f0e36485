#pragma once

#include "pluginterfaces/vst/vsttypes.h"

#include <array>
#include <atomic>
#include <cstddef>

namespace serivane::host {

// A parameter value handed from the user-interface thread to the audio thread.
struct ParameterChange {
    Steinberg::Vst::ParamID id = 0;
    Steinberg::Vst::ParamValue value = 0.0;
};

// Single-producer, single-consumer ring of parameter changes: neither side waits or allocates.
class ChangeRing {
public:
    static constexpr std::size_t capacity = 256;

    // Producer side; false when the ring is full.
    bool push(const ParameterChange& change) {
        std::size_t head = head_.load(std::memory_order_relaxed);
        std::size_t next = (head + 1) % capacity;
        if (next == tail_.load(std::memory_order_acquire)) return false;
        slots_[head] = change;
        head_.store(next, std::memory_order_release);
        return true;
    }

    // Consumer side; false when the ring is empty.
    bool pop(ParameterChange& change) {
        std::size_t tail = tail_.load(std::memory_order_relaxed);
        if (tail == head_.load(std::memory_order_acquire)) return false;
        change = slots_[tail];
        tail_.store((tail + 1) % capacity, std::memory_order_release);
        return true;
    }

private:
    std::array<ParameterChange, capacity> slots_{};
    std::atomic<std::size_t> head_{0};
    std::atomic<std::size_t> tail_{0};
};

} // namespace serivane::host
