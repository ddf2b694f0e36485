#pragma once

#include <iterator>
#include <signal.h>

namespace serivane::tools {

// Catches SIGINT, SIGTERM and SIGHUP while it lives, so that a long job can stop at a safe
// point and clean up instead of dying with its work half done; restores the previous handling
// when it ends. A signal ignored on entry stays ignored. One guard at a time.
class InterruptionGuard {
public:
    InterruptionGuard();
    ~InterruptionGuard();
    InterruptionGuard(const InterruptionGuard&) = delete;
    InterruptionGuard& operator=(const InterruptionGuard&) = delete;

    // The first signal caught, 0 while none was.
    int caught() const;

private:
    static constexpr int signals[] = {SIGINT, SIGTERM, SIGHUP};

    struct sigaction previous_[std::size(signals)];
    bool installed_[std::size(signals)] = {};
};

// Ends the process through `signal`'s default action, so the parent sees what ended it (a
// shell reports 128 + signal: 130 for SIGINT, 143 for SIGTERM).
[[noreturn]] void endBySignal(int signal);

} // namespace serivane::tools
