#pragma once

#include "host/EventList.h"
#include "host/ParameterChanges.h"
#include "host/Plugin.h"
#include "host/Transport.h"

#include <string>
#include <vector>

namespace serivane::host {

struct ProcessConfig {
    double sampleRate = 48000.0;
    Steinberg::int32 maxBlock = 512;
    Steinberg::int32 symbolicSampleSize = Steinberg::Vst::kSample32;
    Steinberg::int32 processMode = Steinberg::Vst::kOffline;
};

// Drives a plug-in's audio processor block by block as a DAW does: parameter changes and
// events queued for the next block, a transport, silent inputs, and the caller's buffers as
// outputs. All storage is reserved when the driver is made; processing never allocates.
class ProcessDriver {
public:
    static constexpr Steinberg::int32 queueCapacity = 64;
    static constexpr Steinberg::int32 pointCapacity = 32;
    static constexpr Steinberg::int32 eventCapacity = 512;

    ProcessDriver(Plugin& plugin, const ProcessConfig& config);
    ~ProcessDriver();
    ProcessDriver(const ProcessDriver&) = delete;
    ProcessDriver& operator=(const ProcessDriver&) = delete;

    // Sets the plug-in up for this configuration and starts it processing.
    bool start(std::string& error);

    const ProcessConfig& config() const { return config_; }
    Transport& transport() { return transport_; }
    ParameterChanges& parameterChanges() { return inputChanges_; }
    const ParameterChanges& outputChanges() const { return outputChanges_; }
    EventList& events() { return events_; }
    Steinberg::int32 outputChannelCount() const { return outputChannels_; }

    // One block of at most maxBlock frames into one buffer per output channel. The queued
    // changes and events go with it and are cleared afterwards.
    bool process(float* const* outputs, Steinberg::int32 frames);
    bool process(double* const* outputs, Steinberg::int32 frames);

    // A block of no frames that hands the queued changes to the plug-in.
    bool flush();

    // `frames` frames in blocks of at most maxBlock into one buffer per output channel.
    bool render(float* const* outputs, Steinberg::int64 frames);
    bool render(double* const* outputs, Steinberg::int64 frames);

private:
    template <typename Sample>
    bool run(Sample* const* outputs, Steinberg::int64 offset, Steinberg::int32 frames);
    template <typename Sample> bool renderAll(Sample* const* outputs, Steinberg::int64 frames);
    template <typename Sample>
    void bindBuses(Sample* const* outputs, Steinberg::int64 offset, Steinberg::int32 frames);

    Plugin& plugin_;
    ProcessConfig config_;
    Transport transport_;
    ParameterChanges inputChanges_;
    ParameterChanges outputChanges_;
    EventList events_;
    EventList outputEvents_;
    std::vector<Steinberg::int32> inputBusChannels_;
    std::vector<Steinberg::int32> outputBusChannels_;
    Steinberg::int32 inputChannels_ = 0;
    Steinberg::int32 outputChannels_ = 0;
    std::vector<Steinberg::Vst::AudioBusBuffers> inputBuses_;
    std::vector<Steinberg::Vst::AudioBusBuffers> outputBuses_;
    std::vector<float> silence32_;
    std::vector<double> silence64_;
    std::vector<float*> pointers32_;
    std::vector<double*> pointers64_;
};

} // namespace serivane::host
