#include "vst3/IEffectParameter.h"

#include "vst3/Utf16Text.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace {
constexpr int kTextCapacity = 128;
} // namespace

double SafeNormalized(double normalized) {
    return std::isnan(normalized) ? 0.0 : std::clamp(normalized, 0.0, 1.0);
}

void FormatNormalized(const IParamModel& model, double normalized, String128 text) {
    AsciiToUtf16(model.FormatValue(SafeNormalized(normalized), true).c_str(), text, kTextCapacity);
}

IEffectParameter::IEffectParameter(IParamModel* model, ParamID id, UnitID unitId) : model_(model) {
    AsciiToUtf16(model->Name(), info.title, kTextCapacity);
    AsciiToUtf16(model->Label(), info.units, kTextCapacity);
    precision = model->Precision();
    info.stepCount =
        model->Type() == IParamType::Double ? 0 : static_cast<int32>(model->Max() - model->Min());
    info.defaultNormalizedValue = valueNormalized = SafeNormalized(model->DefaultNormalized());
    info.flags = model->CanAutomate() ? ParameterInfo::kCanAutomate : 0;
    info.id = id;
    info.unitId = unitId;
}

void IEffectParameter::toString(ParamValue normalized, String128 text) const {
    FormatNormalized(*model_, normalized, text);
}

// Reads the number at the start of the text, as a person would type it; no number reads as 0.
bool IEffectParameter::fromString(const TChar* text, ParamValue& normalized) const {
    const std::string ascii = Utf16ToAscii(text, kTextCapacity);
    normalized = model_->ToNormalized(std::strtod(ascii.c_str(), nullptr));
    return true;
}

ParamValue IEffectParameter::toPlain(ParamValue normalized) const {
    return model_->FromNormalized(SafeNormalized(normalized));
}

ParamValue IEffectParameter::toNormalized(ParamValue plain) const {
    return model_->ToNormalized(plain);
}
