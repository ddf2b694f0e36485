#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace serivane::tools {

inline constexpr const char* noOutputDevice =
    "no sound output device found: PortAudio sees no ALSA, PulseAudio or JACK output on this "
    "machine";

// An output of the sound system, as PortAudio numbers and names it.
struct OutputDevice {
    int index = -1;
    std::string name;
    std::string hostApi;
    int channels = 0;
    double sampleRate = 0.0;
    bool isDefault = false;
};

// PortAudio for the lifetime of the object. Starting it probes ALSA, PulseAudio and JACK,
// whose libraries print their failures to the standard error: that noise is kept off the
// terminal, no sound server is started on the way, and a probe that hangs ends the tool.
class SoundSystem {
public:
    SoundSystem() = default;
    ~SoundSystem();
    SoundSystem(const SoundSystem&) = delete;
    SoundSystem& operator=(const SoundSystem&) = delete;

    bool open(std::string& error);

    // Every device with at least one output channel.
    std::vector<OutputDevice> outputs() const;

    // By number or by name (exact, then ignoring case, then a unique part of it); an empty
    // choice takes the default output, or the first stereo one when there is no default.
    bool choose(const std::string& choice, OutputDevice& device, std::string& error) const;

    // Leaves PortAudio running to the process's end: once a device has failed, ending it can
    // abort the process (JACK asserts that its server still answers).
    void abandon() { open_ = false; }

private:
    bool open_ = false;
};

// Keeps the standard error on /dev/null while it lives, for calls into libraries that report
// expected failures there.
class QuietErrors {
public:
    QuietErrors();
    ~QuietErrors();
    QuietErrors(const QuietErrors&) = delete;
    QuietErrors& operator=(const QuietErrors&) = delete;

    // Writes to the standard error that was there before.
    void writeThrough(const char* text, std::size_t length) const;

private:
    int saved_ = -1;
};

} // namespace serivane::tools
