#pragma once

#include "host/Plugin.h"

#include <string>
#include <vector>

namespace serivane::tools {

// A parameter as a preset leaves it.
struct PresetValue {
    host::ParameterDescription description;
    double normalized = 0.0;
    double plain = 0.0;
    std::string display; // the plug-in's own text for the value
};

// What loading one preset does to the parameters: those it sets and those it leaves as they
// were (a partial preset changes only some).
struct PresetReport {
    long long slot = 0;
    std::string name;
    std::vector<PresetValue> sets;
    std::vector<host::ParameterDescription> leavesAlone;
};

// Loads the preset `choice` names twice through the processor, once over every parameter at
// its minimum and once at its maximum: a parameter that ends the same both times is one the
// preset sets. False with `error` set when the preset cannot be chosen or loaded.
bool examinePreset(host::Plugin& plugin, const std::string& choice, PresetReport& report,
                   std::string& error);

std::string presetText(const PresetReport& report);
std::string presetJson(const PresetReport& report);

} // namespace serivane::tools
