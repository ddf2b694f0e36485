#include "instrument/FactoryPresets.h"

#include "engine/ParamIds.h"
#include "framework/IEffectBase.h"
#include "instrument/FrequencyLibrary.h"

#include <array>

namespace {

using PresetValues = std::array<double, kNumParams>;

// The parameter defaults in index order.
constexpr PresetValues kDefaults = {11, 10, 1500, 7,  25, 50,  50, 50,  0,  60, 2,
                                    0,  50, 0,    18, 24, -24, 24, -24, 25, 50, 75};

struct ProgrammePreset {
    const char* name;
    std::initializer_list<std::pair<int, double>> changes;
};

// Slots 1 to 11: each lists what differs from the defaults, "Play Anyway" always.
const ProgrammePreset kProgrammePresets[] = {
    {"Power of golden waves (lock another params)", {{kWave, 3}, {kPlayAnyway, 1}}},
    {"Another powerful golden waves (lock another params)", {{kWave, 4}, {kPlayAnyway, 1}}},
    {"Minimal (lock another params)", {{kTones, 3}, {kSpread, 0}, {kPlayAnyway, 1}}},
    {"Minimal with golden waves (lock another params)",
     {{kTones, 3}, {kSpread, 0}, {kWave, 3}, {kPlayAnyway, 1}}},
    {"Descendent frequencies (lock another params)",
     {{kLowFreq, 1500}, {kHighFreq, 10}, {kPlayAnyway, 0}, {kQfreq, -18}}},
    {"Enlarge frequencies band (lock another params)",
     {{kPlayAnyway, 0}, {kXvol1, 15}, {kXvol3, 85}}},
    {"Reduce the frequency band (lock another params)",
     {{kPlayAnyway, 0}, {kXvol1, 35}, {kXvol3, 65}}},
    {"Increase the volume on low frequencies (l.a.p.)",
     {{kPlayAnyway, 0}, {kXvol1, 12.5}, {kXvol2, 37.5}, {kXvol3, 62.5}}},
    {"Increase the volume on high frequencies (l.a.p.)",
     {{kPlayAnyway, 0}, {kXvol1, 37.5}, {kXvol2, 62.5}, {kXvol3, 87.5}}},
    {"Focus on low frequencies (lock another params)", {{kPlayAnyway, 0}, {kQfreq, 36}}},
    {"Focus on high frequencies (lock another params)", {{kPlayAnyway, 0}, {kQfreq, -36}}},
};

} // namespace

void AddFactoryPresets(IEffectBase& plugin) {
    plugin.NameFreePresets("---- default ----", 1);
    for (const ProgrammePreset& preset : kProgrammePresets) {
        PresetValues values = kDefaults;
        for (const auto& [index, value] : preset.changes) values[index] = value;
        plugin.AddPreset(preset.name, values);
    }
    for (const LibraryEntry& entry : FrequencyLibrary()) {
        PresetValues values = kDefaults;
        values[kBinaural] = entry.binauralHz;
        values[kPlayAnyway] = 1;
        values[kWave] = entry.wave;
        plugin.AddPreset(entry.name, values);
    }
}

bool PresetOwnsParam(int presetSlot, int paramIndex) {
    switch (presetSlot) {
    case 1:
    case 2:
        return paramIndex == kWave || paramIndex == kPlayAnyway;
    case 3:
        return paramIndex == kTones || paramIndex == kSpread;
    case 4:
        return paramIndex == kTones || paramIndex == kSpread || paramIndex == kWave;
    case 5:
        return paramIndex == kLowFreq || paramIndex == kHighFreq || paramIndex == kQfreq;
    case 6:
    case 7:
    case 8:
    case 9:
        return paramIndex >= kXvol1;
    case 10:
    case 11:
        return paramIndex == kQfreq;
    default:
        return true;
    }
}
