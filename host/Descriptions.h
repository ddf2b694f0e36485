#pragma once

#include "pluginterfaces/base/ipluginbase.h"
#include "pluginterfaces/vst/ivstcomponent.h"
#include "pluginterfaces/vst/ivsteditcontroller.h"
#include "pluginterfaces/vst/ivstunits.h"

#include <string>
#include <vector>

namespace serivane::host {

// What a host learns about a plug-in, as UTF-8 texts.

struct FactoryDescription {
    std::string vendor;
    std::string url;
    std::string email;
    Steinberg::int32 flags = 0;
};

struct ClassDescription {
    Steinberg::TUID cid{};
    std::string classId; // the class ID as 32 upper-case hex digits, bytes in order
    std::string name;
    std::string category;
    std::string subCategories;
    std::string vendor;
    std::string version;
    std::string sdkVersion;
    Steinberg::int32 cardinality = 0;
    Steinberg::uint32 classFlags = 0;
};

struct BusDescription {
    Steinberg::Vst::MediaType mediaType = 0;
    Steinberg::Vst::BusDirection direction = 0;
    std::string name;
    Steinberg::int32 channelCount = 0;
    Steinberg::Vst::BusType busType = 0;
    Steinberg::uint32 flags = 0;
};

struct ParameterDescription {
    Steinberg::Vst::ParamID id = 0;
    std::string title;
    std::string shortTitle;
    std::string units;
    Steinberg::int32 stepCount = 0;
    Steinberg::Vst::ParamValue defaultNormalized = 0.0;
    Steinberg::Vst::UnitID unitId = 0;
    Steinberg::int32 flags = 0;
};

struct UnitDescription {
    Steinberg::Vst::UnitID id = 0;
    Steinberg::Vst::UnitID parentId = 0;
    std::string name;
    Steinberg::Vst::ProgramListID programListId = 0;
};

struct ProgramListDescription {
    Steinberg::Vst::ProgramListID id = 0;
    std::string name;
    std::vector<std::string> programs;
};

} // namespace serivane::host
