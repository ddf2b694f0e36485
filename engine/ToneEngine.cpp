#include "engine/ToneEngine.h"

#include <chrono>

namespace {

constexpr auto kWatchdogSleep = std::chrono::milliseconds(100);
// The watchdog checks on every other wake-up.
constexpr uint64_t kCheckIntervalUs = 2 * std::chrono::microseconds(kWatchdogSleep).count();

} // namespace

ToneEngine::ToneEngine(bool mixInput, bool runWatchdog) : mixInput_(mixInput) {
    for (int i = 0; i < kMaxTones; ++i) {
        voices_.freqEnvelopes[i].Init(true);
        voices_.volEnvelopes[i].Init(false);
    }
    if (runWatchdog) {
        watchdogRunning_ = true;
        watchdog_ = std::thread(&ToneEngine::WatchdogLoop, this);
    }
}

ToneEngine::~ToneEngine() {
    {
        std::lock_guard<std::mutex> lock(watchdogMutex_);
        watchdogRunning_ = false;
    }
    watchdogWake_.notify_all();
    if (watchdog_.joinable()) watchdog_.join();
}

void ToneEngine::SetSampleRate(double rate) {
    VoicesChanged();
    sampleRate_ = rate;
    SetFadeSteps(rate);
}

void ToneEngine::FadeInAtNextBlock() {
    ResetToneFades(ToneSelection::EverySounding);
    restartRequested_ = true;
}

// Runs on the audio thread: the length is published before the mark that makes it count.
void ToneEngine::MarkBlockSeen(int32_t frames) {
    const double us = sampleRate_ > 0.0 && frames > 0 ? frames * 1e6 / sampleRate_ : 0.0;
    const uint32_t length = us < 4e9 ? static_cast<uint32_t>(us) : 4'000'000'000u;
    uint32_t longest = longestBlockUs_.load(std::memory_order_relaxed);
    while (length > longest && !longestBlockUs_.compare_exchange_weak(longest, length)) {
    }
    blockSeen_.store(true, std::memory_order_release);
}

// Blocks longer than the check interval leave checks without a block between them; only a
// silence of more than two block periods is a stall. For blocks up to half the interval one
// check without a block is enough.
void ToneEngine::WatchdogCheck() {
    if (blockSeen_.exchange(false)) {
        blockPeriodUs_ = longestBlockUs_.exchange(0);
        checksWithoutBlock_ = 0;
        return;
    }
    ++checksWithoutBlock_;
    if (checksWithoutBlock_ * kCheckIntervalUs > 2 * uint64_t{blockPeriodUs_}) {
        stallDetected_.store(true);
    }
}

// Sleeps one watchdog interval; false once the engine is shutting down.
bool ToneEngine::SleepWhileRunning() {
    std::unique_lock<std::mutex> lock(watchdogMutex_);
    return !watchdogWake_.wait_for(lock, kWatchdogSleep, [this] { return !watchdogRunning_; });
}

// Checks 100 ms after the start and every 200 ms after that. It only raises a flag: the audio
// thread resets the fades itself at its next block, so the two never write the same state.
void ToneEngine::WatchdogLoop() {
    bool checkPass = true;
    while (SleepWhileRunning()) {
        if (checkPass) WatchdogCheck();
        checkPass = !checkPass;
    }
}
