#include "instrument/StatusTexts.h"

#include "engine/ParamIds.h"
#include "engine/ToneEngine.h"
#include "framework/IEffectBase.h"

#include <charconv>
#include <cstdio>

namespace {

const char* PanText(PanMode panMode) {
    switch (panMode) {
    case PanMode::Left:
        return "Higher freq. to left";
    case PanMode::Null:
        return "Binaural off";
    default:
        return "Higher freq. to right";
    }
}

// A number in fixed notation with a point whatever the process locale, as the value texts are.
struct FixedText {
    char text[48] = "";
};

FixedText Fixed(double value, int decimals) {
    FixedText fixed;
    auto [end, error] = std::to_chars(fixed.text, fixed.text + sizeof fixed.text - 1, value,
                                      std::chars_format::fixed, decimals);
    *(error == std::errc() ? end : fixed.text) = '\0';
    return fixed;
}

int Percent(float fraction) {
    return RoundHalfAway(fraction * 100.0f);
}

} // namespace

void FormatStatusText(int index, const ToneEngine& engine, const IEffectBase& plugin, char* text,
                      size_t capacity) {
    const IParamModel* param = plugin.ParamAt(index);
    const ToneSettings& settings = engine.Settings();
    switch (index) {
    case kBinaural:
        std::snprintf(text, capacity, "Binaural: %sHz", Fixed(settings.binauralHz, 2).text);
        break;
    case kLowFreq:
        std::snprintf(text, capacity, "Low Freq: %sHz", Fixed(settings.lowHz, 2).text);
        break;
    case kHighFreq:
        std::snprintf(text, capacity, "High Freq: %sHz", Fixed(settings.highHz, 2).text);
        break;
    case kTones:
        std::snprintf(text, capacity, "Tones: %d", settings.toneCount);
        break;
    case kSpread:
        std::snprintf(text, capacity, "Spread Frequencies: %d%%", Percent(settings.spread));
        break;
    case kLowLevel:
        std::snprintf(text, capacity, "Low Frequencies: %d%%", Percent(settings.lowLevel));
        break;
    case kMiddleLevel:
        std::snprintf(text, capacity, "Middle Frequencies: %d%%", Percent(settings.middleLevel));
        break;
    case kHighLevel:
        std::snprintf(text, capacity, "High Frequencies: %d%%", Percent(settings.highLevel));
        break;
    case kWave:
        std::snprintf(text, capacity, "Set Wave: %s",
                      param->DisplayTextFor(engine.Voices().bank.waveIndex));
        break;
    case kRate:
        std::snprintf(text, capacity, "Rate: %ss",
                      Fixed(engine.EnvelopeLength() * 0.5 / engine.SampleRate(), 1).text);
        break;
    case kBinauralPan:
        std::snprintf(text, capacity, "%s", PanText(settings.panMode));
        break;
    case kPlayAnyway:
        std::snprintf(text, capacity, "%s",
                      settings.playAnyway ? "Play anyway was activated"
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

void FormatBeatText(float hz, char* text, size_t capacity) {
    std::snprintf(text, capacity, "%s Hz", Fixed(hz, 2).text);
}
