#pragma once

#include "FuzzReader.h"
#include "instrument/CLS_SERIVANE.h"

#include "public.sdk/source/vst/hosting/hostclasses.h"

#include <cstdint>
#include <string>
#include <vector>

// A host application of a chosen name, so that host-specific paths can be reached.
class NamedHost : public Steinberg::Vst::HostApplication {
public:
    explicit NamedHost(std::string name) : name_(std::move(name)) {}
    Steinberg::tresult PLUGIN_API getName(Steinberg::Vst::String128 text) override;

private:
    std::string name_;
};

// One instrument, linked in directly and driven only through its VST3 interfaces, the way a
// host drives it: initialised, its output bus active, set up and active.
class FuzzInstrument {
public:
    explicit FuzzInstrument(const char* hostName = "Fuzz Host");
    ~FuzzInstrument();
    FuzzInstrument(const FuzzInstrument&) = delete;
    FuzzInstrument& operator=(const FuzzInstrument&) = delete;

    CLS_SERIVANE& Plugin() { return *plugin_; }
    Steinberg::Vst::IComponent& Component() { return *plugin_; }
    double SampleRate() const { return setup_.sampleRate; }
    Steinberg::int32 SampleSize() const { return setup_.symbolicSampleSize; }

    // Deactivates, sets processing up anew and activates again, as hosts do between blocks.
    void Reconfigure(double sampleRate, Steinberg::int32 maxBlock, Steinberg::int32 sampleSize);

    // The component state as the host would store it.
    std::vector<uint8_t> SavedState();

private:
    NamedHost host_;
    Steinberg::IPtr<CLS_SERIVANE> plugin_;
    Steinberg::Vst::ProcessSetup setup_{Steinberg::Vst::kRealtime, Steinberg::Vst::kSample32, 512,
                                        48000.0};
};

// A parameter id: mostly one of the instrument's, its program and bypass parameters, sometimes
// any number at all.
Steinberg::Vst::ParamID ReadParamId(FuzzReader& input);
