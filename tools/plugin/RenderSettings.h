#pragma once

#include "host/Plugin.h"

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace serivane::tools {

// A normalised value for one parameter, ready to be queued for a block.
struct ParameterSetting {
    Steinberg::Vst::ParamID id = 0;
    Steinberg::Vst::ParamValue normalized = 0.0;
};

// A preset chosen by slot number, by name or by a unique part of its name, as a value of the
// program-change parameter.
bool resolvePreset(const host::Plugin& plugin, const std::string& choice, ParameterSetting& setting,
                   std::string& error);

// "Name=value" in the parameter's own units, or by one of its display texts.
bool resolveSetting(const host::Plugin& plugin, const std::string& name, const std::string& value,
                    ParameterSetting& setting, std::string& error);

} // namespace serivane::tools
