#include "tools/commands/Interruption.h"

#include <atomic>
#include <csignal>
#include <cstdlib>
#include <iterator>
#include <signal.h>

namespace serivane::tools {

namespace {

constexpr int signals[] = {SIGINT, SIGTERM, SIGHUP};

std::atomic<int> caughtSignal{0};
static_assert(std::atomic<int>::is_always_lock_free, "the handler may only touch lock-free state");

extern "C" void recordSignal(int signal) {
    int none = 0;
    caughtSignal.compare_exchange_strong(none, signal);
}

} // namespace

struct InterruptionGuard::Previous {
    struct sigaction actions[std::size(signals)];
    bool installed[std::size(signals)] = {};
};

InterruptionGuard::InterruptionGuard() : previous_(std::make_unique<Previous>()) {
    caughtSignal.store(0);
    struct sigaction action {};
    action.sa_handler = recordSignal;
    action.sa_flags = SA_RESTART;
    sigemptyset(&action.sa_mask);
    for (std::size_t i = 0; i < std::size(signals); ++i) {
        struct sigaction& previous = previous_->actions[i];
        if (sigaction(signals[i], nullptr, &previous) != 0) continue;
        if ((previous.sa_flags & SA_SIGINFO) == 0 && previous.sa_handler == SIG_IGN) continue;
        previous_->installed[i] = sigaction(signals[i], &action, nullptr) == 0;
    }
}

InterruptionGuard::~InterruptionGuard() {
    for (std::size_t i = 0; i < std::size(signals); ++i) {
        if (previous_->installed[i]) sigaction(signals[i], &previous_->actions[i], nullptr);
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
