#include "host/VirtualDisplay.h"

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>
#include <xcb/xcb.h>

namespace serivane::host {

namespace {

constexpr int startTimeoutMs = 10000;

// Reads the display number Xvfb writes to its -displayfd descriptor once it accepts clients.
bool readDisplayNumber(int fd, std::string& number) {
    char buffer[32];
    std::size_t used = 0;
    while (used < sizeof buffer) {
        pollfd p{fd, POLLIN, 0};
        if (poll(&p, 1, startTimeoutMs) <= 0) return false;
        ssize_t got = read(fd, buffer + used, sizeof buffer - used);
        if (got <= 0) return false;
        used += static_cast<std::size_t>(got);
        if (buffer[used - 1] == '\n') {
            number.assign(buffer, used - 1);
            return !number.empty();
        }
    }
    return false;
}

} // namespace

VirtualDisplay::~VirtualDisplay() {
    stop();
}

bool VirtualDisplay::start(int width, int height, std::string& error) {
    stop();
    int pipeFds[2];
    if (pipe2(pipeFds, O_CLOEXEC) != 0) {
        error = "cannot create a pipe for Xvfb";
        return false;
    }
    std::string fd = std::to_string(pipeFds[1]);
    std::string screen = std::to_string(width) + "x" + std::to_string(height) + "x24";
    pid_t pid = fork();
    if (pid == 0) {
        fcntl(pipeFds[1], F_SETFD, 0);
        int devnull = open("/dev/null", O_WRONLY);
        if (devnull >= 0) {
            dup2(devnull, STDOUT_FILENO);
            dup2(devnull, STDERR_FILENO);
        }
        const char* args[] = {"Xvfb",         "-displayfd", fd.c_str(), "-screen",  "0",
                              screen.c_str(), "-nolisten",  "tcp",      "-noreset", nullptr};
        execvp("Xvfb", const_cast<char* const*>(args));
        _exit(127);
    }
    close(pipeFds[1]);
    if (pid < 0) {
        close(pipeFds[0]);
        error = "cannot start Xvfb";
        return false;
    }
    pid_ = pid;
    std::string number;
    bool started = readDisplayNumber(pipeFds[0], number);
    close(pipeFds[0]);
    if (!started) {
        stop();
        error = "Xvfb did not start (is the xvfb package installed?)";
        return false;
    }
    const char* previous = std::getenv("DISPLAY");
    hadDisplay_ = previous != nullptr;
    previousDisplay_ = previous ? previous : "";
    name_ = ":" + number;
    setenv("DISPLAY", name_.c_str(), 1);
    return true;
}

void VirtualDisplay::stop() {
    if (pid_ <= 0) return;
    kill(pid_, SIGTERM);
    int status = 0;
    while (waitpid(pid_, &status, 0) < 0 && errno == EINTR) {
    }
    pid_ = -1;
    if (!name_.empty()) {
        if (hadDisplay_)
            setenv("DISPLAY", previousDisplay_.c_str(), 1);
        else
            unsetenv("DISPLAY");
    }
    name_.clear();
}

bool displayReachable() {
    const char* display = std::getenv("DISPLAY");
    if (!display || !*display) return false;
    xcb_connection_t* connection = xcb_connect(display, nullptr);
    bool reachable = xcb_connection_has_error(connection) == 0;
    xcb_disconnect(connection);
    return reachable;
}

} // namespace serivane::host
