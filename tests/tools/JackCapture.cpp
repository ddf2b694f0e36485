#include "JackCapture.h"

#include <algorithm>
#include <thread>

namespace serivane::tools {

JackCapture::~JackCapture() {
    if (client_ != nullptr) jack_client_close(client_);
}

bool JackCapture::open(const std::string& server, double seconds, std::string& error) {
    jack_status_t status{};
    client_ = jack_client_open("serivane-capture",
                               static_cast<jack_options_t>(JackNoStartServer | JackServerName),
                               &status, server.c_str());
    if (client_ == nullptr) {
        error = "cannot join the JACK server " + server;
        return false;
    }
    auto frames = static_cast<std::size_t>(seconds * jack_get_sample_rate(client_));
    for (std::vector<float>& channel : recorded_) channel.assign(frames, 0.0f);
    const char* names[] = {"in_0", "in_1"};
    for (int i = 0; i < 2; ++i) {
        ports_[i] =
            jack_port_register(client_, names[i], JACK_DEFAULT_AUDIO_TYPE, JackPortIsInput, 0);
        if (ports_[i] == nullptr) {
            error = "cannot register a capture port";
            return false;
        }
    }
    if (jack_set_process_callback(client_, process, this) != 0 || jack_activate(client_) != 0) {
        error = "cannot start the capture client";
        return false;
    }
    return true;
}

bool JackCapture::connectFrom(const std::string& client, std::chrono::seconds limit) {
    using namespace std::chrono_literals;
    for (auto deadline = std::chrono::steady_clock::now() + limit;
         std::chrono::steady_clock::now() < deadline; std::this_thread::sleep_for(5ms)) {
        std::string left = client + ":out_0", right = client + ":out_1";
        if (jack_port_by_name(client_, left.c_str()) == nullptr ||
            jack_port_by_name(client_, right.c_str()) == nullptr)
            continue;
        return jack_connect(client_, left.c_str(), jack_port_name(ports_[0])) == 0 &&
               jack_connect(client_, right.c_str(), jack_port_name(ports_[1])) == 0;
    }
    return false;
}

double JackCapture::sampleRate() const {
    return jack_get_sample_rate(client_);
}

void JackCapture::take(std::vector<float>& left, std::vector<float>& right) const {
    std::size_t count = framesRecorded();
    left.assign(recorded_[0].begin(), recorded_[0].begin() + static_cast<std::ptrdiff_t>(count));
    right.assign(recorded_[1].begin(), recorded_[1].begin() + static_cast<std::ptrdiff_t>(count));
}

int JackCapture::process(jack_nframes_t frames, void* self) {
    auto* capture = static_cast<JackCapture*>(self);
    std::size_t at = capture->written_.load(std::memory_order_relaxed);
    std::size_t count = std::min<std::size_t>(frames, capture->recorded_[0].size() - at);
    for (int i = 0; i < 2; ++i) {
        const auto* in =
            static_cast<const float*>(jack_port_get_buffer(capture->ports_[i], frames));
        std::copy(in, in + count, capture->recorded_[i].begin() + static_cast<std::ptrdiff_t>(at));
    }
    capture->written_.store(at + count, std::memory_order_release);
    return 0;
}

} // namespace serivane::tools
