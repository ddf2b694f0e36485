#pragma once

#include "framework/IParamModel.h"
#include "public.sdk/source/vst/vstparameters.h"

// A framework parameter seen by the host: its information comes from the model, and every
// conversion and text goes through the model. An enumeration with display texts is shown as a
// list of choices. The model is not owned.
class IEffectParameter : public Steinberg::Vst::Parameter {
public:
    IEffectParameter(IParamModel* model, Steinberg::Vst::ParamID id, Steinberg::Vst::UnitID unitId);

    void toString(Steinberg::Vst::ParamValue normalized,
                  Steinberg::Vst::String128 text) const override;
    bool fromString(const Steinberg::Vst::TChar* text,
                    Steinberg::Vst::ParamValue& normalized) const override;
    Steinberg::Vst::ParamValue toPlain(Steinberg::Vst::ParamValue normalized) const override;
    Steinberg::Vst::ParamValue toNormalized(Steinberg::Vst::ParamValue plain) const override;

    OBJ_METHODS(IEffectParameter, Steinberg::Vst::Parameter)

private:
    IParamModel* model_;
};

// A normalised value from a host, made safe to map: NaN reads as 0, the rest is clamped to 0..1.
double SafeNormalized(double normalized);

// The model's display text for a normalised value, as UTF-16.
void FormatNormalized(const IParamModel& model, double normalized, Steinberg::Vst::String128 text);
