#include "vst3/IEffectVST3.h"

#include "vst3/IEffectParameter.h"
#include "vst3/Utf16Text.h"

#include "pluginterfaces/base/futils.h"

#include <cmath>

// The edit controller and the units. Queries here run on the host's UI thread without the
// plug-in mutex: they read and write single atomic parameter values only. The queries through
// which a host shows values and program names first pass on what changed without it.

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace {
constexpr int kTextCapacity = 128;
} // namespace

// The SDK's list conversion, the one hosts and the program parameter show: floor(x × slots),
// capped at the last slot. An exact k / (slots - 1) lands inside slot k's share.
int IEffectVST3::ProgramIndexFor(double normalized) const {
    if (PresetCount() <= 1) return 0;
    return FromNormalized<ParamValue>(SafeNormalized(normalized), PresetCount() - 1);
}

double IEffectVST3::ProgramNormalized() const {
    return PresetCount() > 1 ? static_cast<double>(CurrentPreset()) / (PresetCount() - 1) : 0.0;
}

tresult PLUGIN_API IEffectVST3::getParamStringByValue(ParamID id, ParamValue normalized,
                                                      String128 text) {
    if (!text) return kInvalidArgument;
    const IParamModel* model = id < static_cast<ParamID>(ParamCount()) ? ParamAt(id) : nullptr;
    if (!model) return kResultFalse;
    FormatNormalized(*model, normalized, text);
    return kResultOk;
}

tresult PLUGIN_API IEffectVST3::getParamValueByString(ParamID id, TChar* text,
                                                      ParamValue& normalized) {
    if (!text) return kInvalidArgument;
    return EditController::getParamValueByString(id, text, normalized);
}

ParamValue PLUGIN_API IEffectVST3::normalizedParamToPlain(ParamID id, ParamValue normalized) {
    if (!getParameterObject(id)) return normalized;
    return EditController::normalizedParamToPlain(id, SafeNormalized(normalized));
}

ParamValue PLUGIN_API IEffectVST3::plainParamToNormalized(ParamID id, ParamValue plain) {
    if (id == kProgramParamId)
        return PresetCount() > 1 ? SafeNormalized(plain / (PresetCount() - 1)) : 0.0;
    if (id < static_cast<ParamID>(ParamCount())) return ParamAt(id)->ToNormalized(plain);
    return plain;
}

ParamValue PLUGIN_API IEffectVST3::getParamNormalized(ParamID id) {
    if (id == kBypassParamId) return Bypassed() ? 1.0 : 0.0;
    if (id == kProgramParamId) return ProgramNormalized();
    if (id < static_cast<ParamID>(ParamCount())) return ParamAt(id)->NormalizedValue();
    return 0.0;
}

// Stores the value only: no preset is loaded, no change handler runs, no editor is refreshed.
// A NaN is refused.
tresult PLUGIN_API IEffectVST3::setParamNormalized(ParamID id, ParamValue value) {
    if (std::isnan(value)) return kResultFalse;
    if (id == kBypassParamId) {
        SetBypassed(value != 0.0);
    } else if (id == kProgramParamId && PresetCount() > 0) {
        SetCurrentPreset(ProgramIndexFor(value));
    } else if (id < static_cast<ParamID>(ParamCount())) {
        ParamAt(id)->SetFromNormalized(value);
    } else {
        return kResultFalse;
    }
    return kResultOk;
}

int32 PLUGIN_API IEffectVST3::getUnitCount() {
    return static_cast<int32>(ParamGroups().size()) + 1;
}

tresult PLUGIN_API IEffectVST3::getUnitInfo(int32 unitIndex, UnitInfo& info) {
    const std::vector<std::string>& groups = ParamGroups();
    if (unitIndex < 0 || unitIndex > static_cast<int32>(groups.size())) return kResultFalse;
    info.id = unitIndex;
    if (unitIndex == 0) {
        info.parentUnitId = kNoParentUnitId;
        info.programListId = kProgramListId;
        AsciiToUtf16("Root Unit", info.name, kTextCapacity);
    } else {
        info.parentUnitId = kRootUnitId;
        info.programListId = kNoProgramListId;
        AsciiToUtf16(groups[static_cast<size_t>(unitIndex - 1)].c_str(), info.name, kTextCapacity);
    }
    return kResultOk;
}

int32 PLUGIN_API IEffectVST3::getProgramListCount() {
    return PresetCount() > 0 ? 1 : 0;
}

tresult PLUGIN_API IEffectVST3::getProgramListInfo(int32 listIndex, ProgramListInfo& info) {
    if (listIndex != 0) return kResultFalse;
    info.id = kProgramListId;
    AsciiToUtf16("Factory Presets", info.name, kTextCapacity);
    info.programCount = PresetCount();
    return kResultOk;
}

// Selecting an unfilled slot renames it on the audio thread, so the name is read under the mutex.
tresult PLUGIN_API IEffectVST3::getProgramName(ProgramListID listId, int32 programIndex,
                                               String128 name) {
    if (listId != kProgramListId) return kResultFalse;
    if (!name) return kInvalidArgument;
    std::lock_guard lock(Mutex());
    AsciiToUtf16(PresetName(programIndex), name, kTextCapacity);
    return kResultOk;
}

tresult PLUGIN_API IEffectVST3::getProgramInfo(ProgramListID, int32, Vst::CString, String128) {
    return kNotImplemented;
}

tresult PLUGIN_API IEffectVST3::hasProgramPitchNames(ProgramListID, int32) {
    return kNotImplemented;
}

tresult PLUGIN_API IEffectVST3::getProgramPitchName(ProgramListID, int32, int16, String128) {
    return kNotImplemented;
}

UnitID PLUGIN_API IEffectVST3::getSelectedUnit() {
    return kRootUnitId;
}

tresult PLUGIN_API IEffectVST3::selectUnit(UnitID) {
    return kNotImplemented;
}

tresult PLUGIN_API IEffectVST3::getUnitByBus(MediaType, BusDirection, int32, int32, UnitID&) {
    return kNotImplemented;
}

tresult PLUGIN_API IEffectVST3::setUnitProgramData(int32, int32, IBStream*) {
    return kNotImplemented;
}
