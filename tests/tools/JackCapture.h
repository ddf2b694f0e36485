#pragma once

#include <jack/jack.h>

#include <atomic>
#include <chrono>
#include <cstddef>
#include <string>
#include <vector>

namespace serivane::tools {

// A JACK client with two inputs that records whatever another client's two outputs play, into
// buffers reserved up front, from the moment it is opened.
class JackCapture {
public:
    JackCapture() = default;
    ~JackCapture();
    JackCapture(const JackCapture&) = delete;
    JackCapture& operator=(const JackCapture&) = delete;

    bool open(const std::string& server, double seconds, std::string& error);
    // Connects the outputs "CLIENT:out_0" and "CLIENT:out_1" as soon as they exist; false when
    // they do not show within `limit`.
    bool connectFrom(const std::string& client, std::chrono::seconds limit);
    double sampleRate() const;
    std::size_t framesRecorded() const { return written_.load(std::memory_order_acquire); }
    // What was recorded so far.
    void take(std::vector<float>& left, std::vector<float>& right) const;

private:
    static int process(jack_nframes_t frames, void* self);

    jack_client_t* client_ = nullptr;
    jack_port_t* ports_[2] = {nullptr, nullptr};
    std::vector<float> recorded_[2];
    std::atomic<std::size_t> written_{0};
};

} // namespace serivane::tools
