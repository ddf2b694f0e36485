#pragma once

#include <string>
#include <thread>

namespace serivane::tools {

// A pseudo-terminal 200 columns wide for a child that draws a live line only on a terminal;
// a thread collects what the child writes to it, so that the child never waits on a full one.
class TerminalCapture {
public:
    TerminalCapture() = default;
    ~TerminalCapture();
    TerminalCapture(const TerminalCapture&) = delete;
    TerminalCapture& operator=(const TerminalCapture&) = delete;

    bool open(std::string& error);
    // The child's end, to hand to it as a descriptor.
    int terminal() const { return terminal_; }
    // Everything written, once the child has ended.
    std::string text();

private:
    void closeTerminal();

    int screen_ = -1;
    int terminal_ = -1;
    std::thread reader_;
    std::string collected_;
};

} // namespace serivane::tools
