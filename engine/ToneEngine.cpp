#include "engine/ToneEngine.h"

#include <chrono>

namespace {

constexpr auto kWatchdogSleep = std::chrono::milliseconds(100);

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
    sampleRate_ = rate;
    SetFadeSteps(rate);
}

void ToneEngine::FadeInAtNextBlock() {
    ResetToneFades(ToneSelection::EverySounding);
    restartRequested_ = true;
}

void ToneEngine::WatchdogCheck() {
    if (!blockSeen_.exchange(false)) stallDetected_.store(true);
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
