#pragma once

#include <filesystem>
#include <string>
#include <sys/types.h>

namespace serivane::tools {

// A JACK server of the test's own on the dummy back end (no sound card), under a name no other
// server uses; stopped when the object goes.
class JackServer {
public:
    JackServer() = default;
    ~JackServer();
    JackServer(const JackServer&) = delete;
    JackServer& operator=(const JackServer&) = delete;

    // Starts jackd at `sampleRate` and waits until a client can connect; false with `reason`
    // when it cannot start here.
    bool start(int sampleRate, std::string& reason);
    const std::string& name() const { return name_; }
    // Kills the server at once, as a crash would, and waits until it has gone.
    void crash();

private:
    std::string name_;
    std::filesystem::path log_;
    pid_t pid_ = -1;
};

} // namespace serivane::tools
