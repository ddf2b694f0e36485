#include "vst3/IEffectParameter.h"

#include "vst3/Utf16Text.h"

#include <algorithm>
#include <cmath>

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
    if (model->Type() == IParamType::Enum && model->DisplayTextCount() > 0)
        info.flags |= ParameterInfo::kIsList;
    info.id = id;
    info.unitId = unitId;
}

void IEffectParameter::toString(ParamValue normalized, String128 text) const {
    FormatNormalized(*model_, normalized, text);
}

// A choice's text in any case or a number, as a person would type it (see IParamModel::ReadText).
bool IEffectParameter::fromString(const TChar* text, ParamValue& normalized) const {
    double value = 0.0;
    if (!model_->ReadText(Utf16ToAscii(text, kTextCapacity).c_str(), &value)) return false;
    normalized = model_->ToNormalized(value);
    return true;
}

ParamValue IEffectParameter::toPlain(ParamValue normalized) const {
    return model_->FromNormalized(SafeNormalized(normalized));
}

ParamValue IEffectParameter::toNormalized(ParamValue plain) const {
    return model_->ToNormalized(plain);
}
