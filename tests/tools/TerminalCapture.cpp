#include "TerminalCapture.h"

#include <pty.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace serivane::tools {

TerminalCapture::~TerminalCapture() {
    closeTerminal();
    if (reader_.joinable()) reader_.join();
    if (screen_ >= 0) close(screen_);
}

bool TerminalCapture::open(std::string& error) {
    winsize size{};
    size.ws_row = 24;
    size.ws_col = 200;
    if (openpty(&screen_, &terminal_, nullptr, nullptr, &size) != 0) {
        error = std::string("no pseudo-terminal: ") + std::strerror(errno);
        return false;
    }
    reader_ = std::thread([this] {
        char buffer[4096];
        for (ssize_t count; (count = read(screen_, buffer, sizeof buffer)) > 0;)
            collected_.append(buffer, static_cast<std::size_t>(count));
    });
    return true;
}

std::string TerminalCapture::text() {
    // Reading ends once no one holds the terminal's end any more.
    closeTerminal();
    if (reader_.joinable()) reader_.join();
    return collected_;
}

void TerminalCapture::closeTerminal() {
    if (terminal_ < 0) return;
    close(terminal_);
    terminal_ = -1;
}

} // namespace serivane::tools
