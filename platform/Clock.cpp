#include "platform/Clock.h"

#include <chrono>
#if defined(__linux__)
#include <time.h>
#endif

namespace {

// The audio thread reads this clock every block. Linux's coarse clock costs a few nanoseconds
// where the precise one costs tens, and its resolution of a few milliseconds is all a count of
// milliseconds needs.
std::int64_t NowMs() {
#if defined(__linux__)
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC_COARSE, &now);
    return static_cast<std::int64_t>(now.tv_sec) * 1000 + now.tv_nsec / 1'000'000;
#else
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
#endif
}

const std::int64_t kLoaded = NowMs();

} // namespace

uint32_t ProcessClockMs() {
    return static_cast<uint32_t>(NowMs() - kLoaded);
}
