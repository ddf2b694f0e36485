#include "instrument/ParameterTable.h"

#include "engine/ParamIds.h"
#include "framework/IEffectBase.h"

namespace {

void DefineEnumWithTexts(IParamModel& param, const char* name, int defaultValue,
                         std::initializer_list<const char*> texts) {
    param.DefineEnum(name, defaultValue, static_cast<int>(texts.size()), "");
    int value = 0;
    for (const char* text : texts) param.AddDisplayText(value++, text);
}

void DefineParameter(IEffectBase& plugin, int index) {
    IParamModel& p = *plugin.ParamAt(index);
    switch (index) {
    case kBinaural:
        p.DefineDouble("Binaural", 11, 0.01, 2000, 0.01, "Hz");
        p.SetShape(2);
        break;
    case kLowFreq:
        p.DefineDouble("Low Freq", 10, 5, 10000, 0.1, "Hz");
        p.SetShape(2);
        break;
    case kHighFreq:
        p.DefineDouble("High Freq", 1500, 5, 10000, 0.1, "Hz");
        p.SetShape(2);
        break;
    case kTones:
        p.DefineInt("Tones", 7, 1, 16, "");
        break;
    case kSpread:
        p.DefineInt("Spread", 25, 0, 100, "%");
        p.SetShape(2);
        break;
    case kLowLevel:
        p.DefineInt("Low", 50, 0, 100, "%");
        break;
    case kMiddleLevel:
        p.DefineInt("Middle", 50, 0, 100, "%");
        break;
    case kHighLevel:
        p.DefineInt("High", 50, 0, 100, "%");
        break;
    case kWave:
        DefineEnumWithTexts(p, "Wave", 0,
                            {"Sine", "Triangle", "Saw", "Golden Sine", "Gold. Sine Half",
                             "Gold. Triangle", "Gold. Square"});
        break;
    case kRate:
        p.DefineDouble("Rate", 60, 0.1, 180, 0.1, "s");
        break;
    case kBinauralPan:
        DefineEnumWithTexts(p, "Binaural Pan", 2, {"Left", "Null", "Right"});
        break;
    case kPlayAnyway:
        DefineEnumWithTexts(p, "Play Anyway", 0, {"No", "Yes"});
        break;
    case kVolume:
        p.DefineInt("Volume", 50, 0, 100, "%");
        break;
    case kFreqGraph:
        DefineEnumWithTexts(p, "Freq Graph", 0, {"LFO Pos", "Real Freq"});
        break;
    case kQfreq:
        p.DefineInt("Qfreq", 18, -90, 90, "%");
        break;
    case kQvol1:
        p.DefineInt("Qvol1", 24, -90, 90, "%");
        break;
    case kQvol2:
        p.DefineInt("Qvol2", -24, -90, 90, "%");
        break;
    case kQvol3:
        p.DefineInt("Qvol3", 24, -90, 90, "%");
        break;
    case kQvol4:
        p.DefineInt("Qvol4", -24, -90, 90, "%");
        break;
    case kXvol1:
        p.DefineDouble("Xvol1", 25, 0, 100, 0.1, "%");
        break;
    case kXvol2:
        p.DefineDouble("Xvol2", 50, 0, 100, 0.1, "%");
        break;
    case kXvol3:
        p.DefineDouble("Xvol3", 75, 0, 100, 0.1, "%");
        break;
    default:
        break;
    }
}

} // namespace

// "Freq Graph" is created last, after the envelope parameters.
void DefineSerivaneParameters(IEffectBase& plugin) {
    for (int i = kBinaural; i <= kVolume; ++i) DefineParameter(plugin, i);
    for (int i = kQfreq; i <= kXvol3; ++i) DefineParameter(plugin, i);
    DefineParameter(plugin, kFreqGraph);
}
