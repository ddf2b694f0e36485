#pragma once

#include "host/ProcessDriver.h"
#include "tools/plugin/RenderSettings.h"

#include <memory>
#include <string>
#include <vector>

namespace serivane::integration {

// The built bundle, loaded once for the whole test program.
std::shared_ptr<host::Module> bundle();

// A fresh instance of the instrument; fails the test when none can be made.
std::unique_ptr<host::Plugin> instantiate();

// "Name=value" as the command-line tool resolves it: own units or display text.
tools::ParameterSetting setting(const host::Plugin& plugin, const std::string& name,
                                const std::string& value);

Steinberg::Vst::ParamID idOf(const host::Plugin& plugin, const std::string& title);
double plainValue(const host::Plugin& plugin, const std::string& title);

struct Stereo {
    std::vector<double> left;
    std::vector<double> right;
};

struct RenderRequest {
    std::vector<tools::ParameterSetting> settings; // sent with the first block
    double seconds = 1.0;
    bool playing = true;
    bool doublePrecision = false;
    double sampleRate = 48000.0;
    Steinberg::int32 block = 512;
};

// Starts processing, renders and stops again; the plug-in keeps its parameter values.
Stereo render(host::Plugin& plugin, const RenderRequest& request);

// Sends the settings in a block of no frames, as a host flushes parameters.
void apply(host::Plugin& plugin, const std::vector<tools::ParameterSetting>& settings);

} // namespace serivane::integration
