#pragma once

#include <memory>

namespace serivane::tools {

// Catches SIGINT, SIGTERM and SIGHUP (on Windows the console's Ctrl+C, Ctrl+Break and close
// events) while it lives, so that a long job can stop at a safe point and clean up instead of
// dying with its work half done; restores the previous handling when it ends. A signal ignored
// on entry stays ignored. One guard at a time.
class InterruptionGuard {
public:
    InterruptionGuard();
    ~InterruptionGuard();
    InterruptionGuard(const InterruptionGuard&) = delete;
    InterruptionGuard& operator=(const InterruptionGuard&) = delete;

    // The first signal caught, 0 while none was.
    int caught() const;

private:
    // The handling in place before the guard, restored when it ends.
    struct Previous;
    std::unique_ptr<Previous> previous_;
};

// Ends the process through `signal`'s default action, so the parent sees what ended it (a
// shell reports 128 + signal: 130 for SIGINT, 143 for SIGTERM).
[[noreturn]] void endBySignal(int signal);

} // namespace serivane::tools
