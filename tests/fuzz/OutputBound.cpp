#include "OutputBound.h"

#include "FuzzCheck.h"

#include "instrument/CLS_SERIVANE.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double kLevelCeiling = 1.0 + 2.0 * (2.0 / 8000.0);
constexpr double kRelativeSlack = 1e-6; // gain ramp rounding, single-precision output
constexpr double kAbsoluteSlack = 1e-9; // a ramp to silence may stop a rounding error short
constexpr double kSilence = 1e-11;

double Key(const CLS_SERIVANE& plugin, int index) {
    return std::round(plugin.ParamAt(index)->Value());
}

} // namespace

double OutputBound::AfterBlock(CLS_SERIVANE& plugin, bool transportRunning, int frames) {
    if (plugin.getParamNormalized(IEffectVST3::kBypassParamId) > 0.5) return kAbsoluteSlack;
    const double tones = std::clamp(Key(plugin, kTones), 1.0, 16.0);
    const auto volume = static_cast<float>(Key(plugin, kVolume) * 0.008 + 0.0001);
    const bool sounding = transportRunning || Key(plugin, kPlayAnyway) > 0.5;
    const double target = sounding ? volume / std::sqrt(static_cast<float>(tones)) : 0.0;
    const double bound = std::max(gainCeiling_, target) * tones * kLevelCeiling;
    const bool silent = target == 0.0 && gainCeiling_ < kSilence;
    if (frames > 0 && !silent) gainCeiling_ = target;
    return bound * (1.0 + kRelativeSlack) + kAbsoluteSlack;
}

void RequireParametersInRange(CLS_SERIVANE& plugin) {
    for (int i = 0; i < plugin.ParamCount(); ++i) {
        const IParamModel& param = *plugin.ParamAt(i);
        const double value = param.Value();
        Require(value >= param.Min() && value <= param.Max(),
                "parameter %d holds %g outside %g..%g", i, value, param.Min(), param.Max());
        const double normalized = plugin.getParamNormalized(static_cast<Steinberg::uint32>(i));
        Require(normalized >= 0.0 && normalized <= 1.0, "parameter %d normalised to %g", i,
                normalized);
    }
    for (Steinberg::Vst::ParamID id : {IEffectVST3::kProgramParamId, IEffectVST3::kBypassParamId}) {
        const double normalized = plugin.getParamNormalized(id);
        Require(normalized >= 0.0 && normalized <= 1.0, "parameter %#x normalised to %g", id,
                normalized);
    }
    Require(plugin.CurrentPreset() >= 0 && plugin.CurrentPreset() < plugin.PresetCount(),
            "program %d outside the slots", plugin.CurrentPreset());
}
