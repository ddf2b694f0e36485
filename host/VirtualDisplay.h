#pragma once

#include <string>
#include <sys/types.h>

namespace serivane::host {

// An Xvfb server of our own on a free display number, for editors opened where no X server
// runs. While it runs, $DISPLAY names it, so that plug-ins in this process connect to it too;
// stopping it restores the previous value.
class VirtualDisplay {
public:
    VirtualDisplay() = default;
    ~VirtualDisplay();
    VirtualDisplay(const VirtualDisplay&) = delete;
    VirtualDisplay& operator=(const VirtualDisplay&) = delete;

    // Starts Xvfb with one screen of the given size; false with `error` set when it cannot.
    bool start(int width, int height, std::string& error);
    void stop();
    bool running() const { return pid_ > 0; }
    const std::string& name() const { return name_; }

private:
    pid_t pid_ = -1;
    std::string name_;
    bool hadDisplay_ = false;
    std::string previousDisplay_;
};

// True when $DISPLAY names an X server that accepts a connection.
bool displayReachable();

} // namespace serivane::host
