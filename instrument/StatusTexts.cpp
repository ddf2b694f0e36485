#include "instrument/StatusTexts.h"

#include "engine/ParamIds.h"
#include "engine/ToneEngine.h"
#include "framework/IEffectBase.h"

#include <cstdio>

namespace {

const char* PanText(int panMode) {
    switch (panMode) {
    case 0:
        return "Higher freq. to left";
    case 1:
        return "Binaural off";
    default:
        return "Higher freq. to right";
    }
}

int Percent(float fraction) {
    return RoundHalfAway(fraction * 100.0f);
}

} // namespace

void FormatStatusText(int index, const ToneEngine& engine, const IEffectBase& plugin, char* text,
                      size_t capacity) {
    const IParamModel* param = plugin.ParamAt(index);
    switch (index) {
    case kBinaural:
        std::snprintf(text, capacity, "Binaural: %.2fHz", engine.binauralHz);
        break;
    case kLowFreq:
        std::snprintf(text, capacity, "Low Freq: %.2fHz", engine.lowHz);
        break;
    case kHighFreq:
        std::snprintf(text, capacity, "High Freq: %.2fHz", engine.highHz);
        break;
    case kTones:
        std::snprintf(text, capacity, "Tones: %d", engine.toneCount);
        break;
    case kSpread:
        std::snprintf(text, capacity, "Spread Frequencies: %d%%", Percent(engine.spread));
        break;
    case kLowLevel:
        std::snprintf(text, capacity, "Low Frequencies: %d%%", Percent(engine.lowLevel));
        break;
    case kMiddleLevel:
        std::snprintf(text, capacity, "Middle Frequencies: %d%%", Percent(engine.middleLevel));
        break;
    case kHighLevel:
        std::snprintf(text, capacity, "High Frequencies: %d%%", Percent(engine.highLevel));
        break;
    case kWave:
        std::snprintf(text, capacity, "Set Wave: %s", param->DisplayTextFor(engine.bank.waveIndex));
        break;
    case kRate:
        std::snprintf(text, capacity, "Rate: %.1fs",
                      engine.envelopeLength * 0.5 / engine.engineSampleRate);
        break;
    case kBinauralPan:
        std::snprintf(text, capacity, "%s", PanText(engine.panMode));
        break;
    case kPlayAnyway:
        std::snprintf(text, capacity, "%s",
                      engine.playAnyway ? "Play anyway was activated"
                                        : "Play anyway was deactivated");
        break;
    case kVolume:
        std::snprintf(text, capacity, "Volume Amount: %d%%", RoundHalfAway(param->Value()));
        break;
    case kFreqGraph:
        std::snprintf(text, capacity, "Freq Graph: %s",
                      param->DisplayTextFor(RoundHalfAway(param->Value())));
        break;
    default:
        std::snprintf(text, capacity, "%s", "");
        break;
    }
}
