#pragma once

#if defined(__SSE2__)
#include <xmmintrin.h>
#endif

// Flushes denormal results and inputs to zero for as long as it lives, then restores the
// caller's mode: tails decaying towards zero would otherwise run many times slower. The engine's
// own values never come near the denormal range, so its samples do not change.
class DenormalGuard {
public:
#if defined(__SSE2__)
    DenormalGuard() : saved_(_mm_getcsr()) {
        _mm_setcsr(saved_ | kFlushToZero | kDenormalsAreZero);
    }
    ~DenormalGuard() {
        _mm_setcsr(saved_);
    }
#else
    DenormalGuard() = default;
#endif
    DenormalGuard(const DenormalGuard&) = delete;
    DenormalGuard& operator=(const DenormalGuard&) = delete;

private:
#if defined(__SSE2__)
    static constexpr unsigned kFlushToZero = 0x8000;
    static constexpr unsigned kDenormalsAreZero = 0x0040;
    unsigned saved_;
#endif
};
