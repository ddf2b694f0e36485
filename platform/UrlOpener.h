#pragma once

// Opens an address in the desktop's browser through xdg-open without waiting for it and without
// a thread: the opener runs detached from the plug-in's process (it may outlive the library),
// and its exit status comes back through a pipe that the caller polls, from its timer.
class UrlOpener {
public:
    enum class Outcome { Running, Opened, Failed };

    // The program that opens addresses; tests point it elsewhere.
    explicit UrlOpener(const char* program = "xdg-open");
    ~UrlOpener();
    UrlOpener(const UrlOpener&) = delete;
    UrlOpener& operator=(const UrlOpener&) = delete;

    // Starts the opener for url; false when it cannot be started at all.
    bool Start(const char* url);
    // The outcome of the last start, without waiting; a Failed outcome is reported once, then
    // reads Opened.
    Outcome Poll();

private:
    void Forget();

    const char* program_;
    // Read end of the pipe the opener's status arrives on; -1 when nothing is pending.
    int status_ = -1;
};
