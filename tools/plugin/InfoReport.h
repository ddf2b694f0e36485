#pragma once

#include "host/Plugin.h"

#include <optional>
#include <string>
#include <vector>

namespace serivane::tools {

struct ParameterReport {
    host::ParameterDescription description;
    double minimum = 0.0; // plain value at normalised 0
    double maximum = 0.0; // plain value at normalised 1
    double defaultPlain = 0.0;
    std::optional<std::string> defaultDisplay;
    // The texts of every step of a list parameter, in order; empty for the others.
    std::vector<std::string> choices;
};

struct ProgramListReport {
    std::string name;
    std::vector<std::string> programs;
};

// Everything `serivane info` shows, gathered through the plug-in's interfaces.
struct PluginReport {
    std::string bundle;
    std::string library;
    host::FactoryDescription factory;
    host::ClassDescription pluginClass;
    std::vector<host::BusDescription> buses;
    std::vector<ParameterReport> parameters;
    ProgramListReport programs;
};

// The program list of the root unit, or the first list when no unit names one.
ProgramListReport rootPrograms(const host::Plugin& plugin);

PluginReport collectReport(const host::Plugin& plugin, const std::string& library);

std::vector<std::string> splitSubCategories(const std::string& text);
const char* mediaTypeName(Steinberg::Vst::MediaType type);
const char* directionName(Steinberg::Vst::BusDirection direction);
const char* busTypeName(Steinberg::Vst::BusType type);

} // namespace serivane::tools
