#include "host/Plugin.h"
#include "host/Utf16.h"

#include <cstdio>
#include <cstring>

namespace serivane::host {

using namespace Steinberg;

namespace {

std::string hexOf(const TUID cid) {
    std::string hex;
    char digits[3];
    for (int i = 0; i < 16; ++i) {
        std::snprintf(digits, sizeof digits, "%02X", static_cast<unsigned char>(cid[i]));
        hex += digits;
    }
    return hex;
}

ClassDescription describe(const PClassInfo& info) {
    ClassDescription d;
    std::memcpy(d.cid, info.cid, sizeof(TUID));
    d.classId = hexOf(info.cid);
    d.name = fromField(info.name, PClassInfo::kNameSize);
    d.category = fromField(info.category, PClassInfo::kCategorySize);
    d.cardinality = info.cardinality;
    return d;
}

void addDetails(ClassDescription& d, const PClassInfo2& info) {
    d.subCategories = fromField(info.subCategories, PClassInfo2::kSubCategoriesSize);
    d.vendor = fromField(info.vendor, PClassInfo2::kVendorSize);
    d.version = fromField(info.version, PClassInfo2::kVersionSize);
    d.sdkVersion = fromField(info.sdkVersion, PClassInfo2::kVersionSize);
    d.classFlags = info.classFlags;
}

} // namespace

std::vector<ClassDescription> describeClasses(IPluginFactory* factory) {
    FUnknownPtr<IPluginFactory2> factory2(factory);
    std::vector<ClassDescription> classes;
    for (int32 i = 0, count = factory->countClasses(); i < count; ++i) {
        PClassInfo info;
        if (factory->getClassInfo(i, &info) != kResultOk) continue;
        classes.push_back(describe(info));
        PClassInfo2 info2;
        if (factory2 && factory2->getClassInfo2(i, &info2) == kResultOk)
            addDetails(classes.back(), info2);
    }
    return classes;
}

FactoryDescription describeFactory(IPluginFactory* factory) {
    PFactoryInfo info;
    FactoryDescription d;
    if (factory->getFactoryInfo(&info) != kResultOk) return d;
    d.vendor = fromField(info.vendor, PFactoryInfo::kNameSize);
    d.url = fromField(info.url, PFactoryInfo::kURLSize);
    d.email = fromField(info.email, PFactoryInfo::kEmailSize);
    d.flags = info.flags;
    return d;
}

FactoryDescription Plugin::factoryDescription() const {
    return describeFactory(module_->factory());
}

std::vector<BusDescription> Plugin::buses(Vst::MediaType type, Vst::BusDirection direction) const {
    std::vector<BusDescription> result;
    for (int32 i = 0, count = component_->getBusCount(type, direction); i < count; ++i) {
        Vst::BusInfo info{};
        if (component_->getBusInfo(type, direction, i, info) != kResultOk) continue;
        result.push_back({info.mediaType, info.direction, toUtf8(info.name, 128), info.channelCount,
                          info.busType, info.flags});
    }
    return result;
}

std::vector<ParameterDescription> Plugin::parameters() const {
    std::vector<ParameterDescription> result;
    for (int32 i = 0, count = controller_->getParameterCount(); i < count; ++i) {
        Vst::ParameterInfo info{};
        if (controller_->getParameterInfo(i, info) != kResultOk) continue;
        result.push_back({info.id, toUtf8(info.title, 128), toUtf8(info.shortTitle, 128),
                          toUtf8(info.units, 128), info.stepCount, info.defaultNormalizedValue,
                          info.unitId, info.flags});
    }
    return result;
}

std::optional<ParameterDescription> Plugin::programChangeParameter() const {
    for (const ParameterDescription& p : parameters()) {
        if (p.flags & Vst::ParameterInfo::kIsProgramChange) return p;
    }
    return std::nullopt;
}

std::vector<UnitDescription> Plugin::units() const {
    std::vector<UnitDescription> result;
    IPtr<Vst::IUnitInfo> info = FUnknownPtr<Vst::IUnitInfo>(controller_);
    if (!info) return result;
    for (int32 i = 0, count = info->getUnitCount(); i < count; ++i) {
        Vst::UnitInfo unit{};
        if (info->getUnitInfo(i, unit) != kResultOk) continue;
        result.push_back({unit.id, unit.parentUnitId, toUtf8(unit.name, 128), unit.programListId});
    }
    return result;
}

std::vector<ProgramListDescription> Plugin::programLists() const {
    std::vector<ProgramListDescription> result;
    IPtr<Vst::IUnitInfo> info = FUnknownPtr<Vst::IUnitInfo>(controller_);
    if (!info) return result;
    for (int32 i = 0, count = info->getProgramListCount(); i < count; ++i) {
        Vst::ProgramListInfo list{};
        if (info->getProgramListInfo(i, list) != kResultOk) continue;
        ProgramListDescription d{list.id, toUtf8(list.name, 128), {}};
        for (int32 p = 0; p < list.programCount; ++p) {
            Vst::String128 name{};
            d.programs.push_back(info->getProgramName(list.id, p, name) == kResultOk
                                     ? toUtf8(name, 128)
                                     : std::string());
        }
        result.push_back(std::move(d));
    }
    return result;
}

std::optional<std::string> Plugin::displayText(Vst::ParamID id, Vst::ParamValue normalized) const {
    Vst::String128 text{};
    if (controller_->getParamStringByValue(id, normalized, text) != kResultOk) return std::nullopt;
    return toUtf8(text, 128);
}

Vst::ParamValue Plugin::toPlain(Vst::ParamID id, Vst::ParamValue normalized) const {
    return controller_->normalizedParamToPlain(id, normalized);
}

Vst::ParamValue Plugin::toNormalized(Vst::ParamID id, Vst::ParamValue plain) const {
    return controller_->plainParamToNormalized(id, plain);
}

Vst::ParamValue Plugin::normalizedValue(Vst::ParamID id) const {
    return controller_->getParamNormalized(id);
}

} // namespace serivane::host
