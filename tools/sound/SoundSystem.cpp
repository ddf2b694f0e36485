#include "tools/sound/SoundSystem.h"
#include "tools/report/Console.h"
#include "tools/report/NumberText.h"

#include <pa_jack.h>
#include <portaudio.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <future>
#include <iostream>
#include <thread>
#include <unistd.h>

namespace serivane::tools {

namespace {

// A probe slower than this has met a sound server that does not answer.
constexpr auto probeLimit = std::chrono::seconds(15);

std::string lowered(std::string text) {
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

std::string listed(const std::vector<const OutputDevice*>& devices) {
    std::string text;
    for (const OutputDevice* d : devices)
        text += (text.empty() ? "" : ", ") + std::to_string(d->index) + " \"" + d->name + "\"";
    return text;
}

bool usable(const OutputDevice& device, OutputDevice& chosen, std::string& error) {
    if (device.channels < 2) {
        error = "output device \"" + device.name + "\" has one channel; serivane plays stereo";
        return false;
    }
    chosen = device;
    return true;
}

} // namespace

QuietErrors::QuietErrors() {
    std::fflush(stderr);
    std::cerr.flush();
    int silent = ::open("/dev/null", O_WRONLY | O_CLOEXEC);
    if (silent < 0) return;
    saved_ = ::dup(STDERR_FILENO);
    if (saved_ >= 0) ::dup2(silent, STDERR_FILENO);
    ::close(silent);
}

QuietErrors::~QuietErrors() {
    if (saved_ < 0) return;
    std::fflush(stderr);
    ::dup2(saved_, STDERR_FILENO);
    ::close(saved_);
}

void QuietErrors::writeThrough(const char* text, std::size_t length) const {
    int target = saved_ >= 0 ? saved_ : STDERR_FILENO;
    while (length > 0) {
        ssize_t written = ::write(target, text, length);
        if (written <= 0) return;
        text += written;
        length -= static_cast<std::size_t>(written);
    }
}

SoundSystem::~SoundSystem() {
    if (!open_) return;
    QuietErrors quiet;
    Pa_Terminate();
}

bool SoundSystem::open(std::string& error) {
    // A probe must not start a JACK server of its own (the ALSA "jack" device would).
    setenv("JACK_NO_START_SERVER", "1", 0);
    PaJack_SetClientName("serivane");
    PaError result = paNoError;
    {
        QuietErrors quiet;
        std::packaged_task<PaError()> probe(Pa_Initialize);
        std::future<PaError> answer = probe.get_future();
        std::thread(std::move(probe)).detach();
        if (answer.wait_for(probeLimit) != std::future_status::ready) {
            // The probe cannot be called off; the process ends without waiting for it.
            const char message[] = "serivane: the sound system did not answer within 15 s\n";
            quiet.writeThrough(message, sizeof message - 1);
            std::_Exit(exitFailure);
        }
        result = answer.get();
    }
    if (result != paNoError) {
        error = std::string("the sound system could not start: ") + Pa_GetErrorText(result);
        return false;
    }
    open_ = true;
    return true;
}

std::vector<OutputDevice> SoundSystem::outputs() const {
    std::vector<OutputDevice> devices;
    if (!open_) return devices;
    PaDeviceIndex defaultOutput = Pa_GetDefaultOutputDevice();
    for (PaDeviceIndex i = 0; i < Pa_GetDeviceCount(); ++i) {
        const PaDeviceInfo* info = Pa_GetDeviceInfo(i);
        if (info == nullptr || info->maxOutputChannels < 1) continue;
        const PaHostApiInfo* api = Pa_GetHostApiInfo(info->hostApi);
        devices.push_back({i, info->name, api != nullptr ? api->name : "", info->maxOutputChannels,
                           info->defaultSampleRate, i == defaultOutput});
    }
    return devices;
}

bool SoundSystem::choose(const std::string& choice, OutputDevice& device,
                         std::string& error) const {
    std::vector<OutputDevice> devices = outputs();
    if (devices.empty()) {
        error = noOutputDevice;
        return false;
    }
    const std::string unknown =
        "no output device \"" + choice + "\": run \"serivane devices\" to list them";
    if (choice.empty()) {
        for (const OutputDevice& d : devices) {
            if (d.isDefault && d.channels >= 2) return usable(d, device, error);
        }
        for (const OutputDevice& d : devices) {
            if (d.channels >= 2) return usable(d, device, error);
        }
        return usable(devices.front(), device, error);
    }
    if (std::optional<long long> number = parseInteger(choice)) {
        for (const OutputDevice& d : devices) {
            if (d.index == *number) return usable(d, device, error);
        }
        error = unknown;
        return false;
    }
    for (const OutputDevice& d : devices) {
        if (d.name == choice) return usable(d, device, error);
    }
    std::vector<const OutputDevice*> same, containing;
    for (const OutputDevice& d : devices) {
        if (equalsIgnoringCase(d.name, choice)) same.push_back(&d);
        if (lowered(d.name).find(lowered(choice)) != std::string::npos) containing.push_back(&d);
    }
    const std::vector<const OutputDevice*>& found = !same.empty() ? same : containing;
    if (found.size() == 1) return usable(*found.front(), device, error);
    if (found.empty())
        error = unknown;
    else
        error = "\"" + choice + "\" names several output devices (" + listed(found) +
                "): give its number";
    return false;
}

} // namespace serivane::tools
