#pragma once

#include <memory>

// Opens an address in the desktop's browser through xdg-open without waiting for it: a thread
// of its own collects the opener's exit status, which the caller polls later.
class UrlOpener {
public:
    enum class Outcome { Running, Opened, Failed };

    // The program that opens addresses; tests point it elsewhere.
    explicit UrlOpener(const char* program = "xdg-open");

    // Starts the opener for url; false when it cannot be started at all.
    bool Start(const char* url);
    // The outcome of the last start; a Failed outcome is reported once, then reads Opened.
    Outcome Poll();

private:
    struct Shared;

    const char* program_;
    std::shared_ptr<Shared> last_;
};
