#include "platform/Clock.h"

#include <chrono>

namespace {
const auto kLoaded = std::chrono::steady_clock::now();
}

uint32_t ProcessClockMs() {
    const auto elapsed = std::chrono::steady_clock::now() - kLoaded;
    return static_cast<uint32_t>(
        std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count());
}
