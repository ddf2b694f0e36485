#include "tools/commands/Interruption.h"
#include "tools/win32/ConsoleEvent.h"

#include <atomic>
#include <csignal>
#include <cstdlib>

namespace serivane::tools {

namespace {

// Windows ends a process about five seconds after a close event, whatever its handler does.
constexpr DWORD cleanupWaitMs = 4000;

std::atomic<int> caughtSignal{0};

// Set while no guard lives, so that a late event waits for nothing.
HANDLE guardEnded() {
    static const HANDLE event = CreateEventW(nullptr, TRUE, TRUE, nullptr);
    return event;
}

} // namespace

// The job sees console events as the signals a POSIX shell would send.
BOOL WINAPI answerConsoleEvent(DWORD event) {
    const bool interrupt = event == CTRL_C_EVENT || event == CTRL_BREAK_EVENT;
    int none = 0;
    caughtSignal.compare_exchange_strong(none, event == CTRL_C_EVENT ? SIGINT : SIGTERM);
    if (!interrupt) WaitForSingleObject(guardEnded(), cleanupWaitMs);
    return TRUE;
}

struct InterruptionGuard::Previous {
    bool installed = false;
};

InterruptionGuard::InterruptionGuard() : previous_(std::make_unique<Previous>()) {
    caughtSignal.store(0);
    ResetEvent(guardEnded());
    previous_->installed = SetConsoleCtrlHandler(answerConsoleEvent, TRUE) != 0;
}

InterruptionGuard::~InterruptionGuard() {
    if (previous_->installed) SetConsoleCtrlHandler(answerConsoleEvent, FALSE);
    SetEvent(guardEnded());
}

int InterruptionGuard::caught() const {
    return caughtSignal.load();
}

void endBySignal(int signal) {
    std::_Exit(128 + signal);
}

} // namespace serivane::tools
