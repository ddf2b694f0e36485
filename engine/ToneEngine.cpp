#include "engine/ToneEngine.h"

#include <chrono>

namespace {

constexpr auto kWatchdogSleep = std::chrono::milliseconds(100);

} // namespace

ToneEngine::ToneEngine(bool mixInput, bool runWatchdog) : mixInput(mixInput) {
    for (int i = 0; i < kMaxTones; ++i) {
        freqEnvelopes[i].Init(true);
        volEnvelopes[i].Init(false);
    }
    if (runWatchdog) {
        watchdogRunning = true;
        watchdog = std::thread(&ToneEngine::WatchdogLoop, this);
    }
}

ToneEngine::~ToneEngine() {
    {
        std::lock_guard<std::mutex> lock(watchdogMutex);
        watchdogRunning = false;
    }
    watchdogWake.notify_all();
    if (watchdog.joinable()) watchdog.join();
}

void ToneEngine::WatchdogCheck() {
    if (!blockSeen.exchange(false)) stallDetected.store(true);
}

// Sleeps one watchdog interval; false once the engine is shutting down.
bool ToneEngine::SleepWhileRunning() {
    std::unique_lock<std::mutex> lock(watchdogMutex);
    return !watchdogWake.wait_for(lock, kWatchdogSleep, [this] { return !watchdogRunning; });
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
