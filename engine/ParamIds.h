#pragma once

// Parameter indices: the identity of a parameter for hosts, presets, state and the editor.
enum SerivaneParam : int {
    kBinaural = 0,
    kLowFreq,
    kHighFreq,
    kTones,
    kSpread,
    kLowLevel,
    kMiddleLevel,
    kHighLevel,
    kWave,
    kRate,
    kBinauralPan,
    kPlayAnyway,
    kVolume,
    kFreqGraph,
    kQfreq,
    kQvol1,
    kQvol2,
    kQvol3,
    kQvol4,
    kXvol1,
    kXvol2,
    kXvol3,
    kNumParams
};
