#include "tools/Interruption.h"

#include <atomic>
#include <cstdlib>

namespace serivane::tools {

namespace {

std::atomic<int> caughtSignal{0};
static_assert(std::atomic<int>::is_always_lock_free, "the handler may only touch lock-free state");

extern "C" void recordSignal(int signal) {
    int none = 0;
    caughtSignal.compare_exchange_strong(none, signal);
}

} // namespace

InterruptionGuard::InterruptionGuard() {
    caughtSignal.store(0);
    struct sigaction action {};
    action.sa_handler = recordSignal;
    action.sa_flags = SA_RESTART;
    sigemptyset(&action.sa_mask);
    for (std::size_t i = 0; i < std::size(signals); ++i) {
        if (sigaction(signals[i], nullptr, &previous_[i]) != 0) continue;
        if ((previous_[i].sa_flags & SA_SIGINFO) == 0 && previous_[i].sa_handler == SIG_IGN)
            continue;
        installed_[i] = sigaction(signals[i], &action, nullptr) == 0;
    }
}

InterruptionGuard::~InterruptionGuard() {
    for (std::size_t i = 0; i < std::size(signals); ++i) {
        if (installed_[i]) sigaction(signals[i], &previous_[i], nullptr);
    }
}

int InterruptionGuard::caught() const {
    return caughtSignal.load();
}

void endBySignal(int signal) {
    struct sigaction action {};
    action.sa_handler = SIG_DFL;
    sigemptyset(&action.sa_mask);
    sigaction(signal, &action, nullptr);
    sigset_t only;
    sigemptyset(&only);
    sigaddset(&only, signal);
    pthread_sigmask(SIG_UNBLOCK, &only, nullptr);
    raise(signal);
    std::_Exit(128 + signal);
}

} // namespace serivane::tools
