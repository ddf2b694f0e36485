#include "tools/Interruption.h"

#include <windows.h>

#include <atomic>
#include <csignal>
#include <cstdlib>

namespace serivane::tools {

namespace {

std::atomic<int> caughtSignal{0};

// Console events arrive on a thread of their own; the job sees them as the signals a POSIX
// shell would send.
BOOL WINAPI recordEvent(DWORD event) {
    int signal = event == CTRL_C_EVENT ? SIGINT : SIGTERM;
    int none = 0;
    caughtSignal.compare_exchange_strong(none, signal);
    return TRUE;
}

} // namespace

struct InterruptionGuard::Previous {
    bool installed = false;
};

InterruptionGuard::InterruptionGuard() : previous_(std::make_unique<Previous>()) {
    caughtSignal.store(0);
    previous_->installed = SetConsoleCtrlHandler(recordEvent, TRUE) != 0;
}

InterruptionGuard::~InterruptionGuard() {
    if (previous_->installed) SetConsoleCtrlHandler(recordEvent, FALSE);
}

int InterruptionGuard::caught() const {
    return caughtSignal.load();
}

void endBySignal(int signal) {
    std::_Exit(128 + signal);
}

} // namespace serivane::tools
