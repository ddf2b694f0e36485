#pragma once

#include <cstdint>

// The host applications recognised by name; values are stable identifiers.
enum EHostId : int32_t {
    kHostUnknown = -1,
    kHostNone = 0,
    kHostReaper = 1,
    kHostCubase = 3,
    kHostNuendo = 4,
    kHostCakewalk = 5,
    kHostFruity = 7,
    kHostSamplitude = 8,
    kHostLive = 9,
    kHostMelodyne = 12,
    kHostVstManLib = 13,
    kHostAuLab = 14,
    kHostForte = 15,
    kHostChainer = 16,
    kHostAudition = 17,
    kHostOrion = 18,
    kHostSawStudio = 20,
    kHostLogic = 21,
    kHostDigital = 22,
    kHostAudioMulch = 23,
    kHostPresonus = 24,
    kHostAcoustica = 25,
    kHostGarageBand = 26,
    kHostArdour = 27,
    kHostWaveLab = 28,
    kHostWaveDrafter = 29,
    kHostGold = 30,
};

struct IMidiMessage {
    int32_t offset = 0;
    uint8_t status = 0;
    uint8_t data1 = 0;
    uint8_t data2 = 0;
};

struct ITransportInfo {
    double tempo = 0.0;
    double samplePosition = 0.0;
    double quarterNotePosition = 0.0;
    double lastBarStart = 0.0;
    double cycleStart = 0.0;
    double cycleEnd = 0.0;
    int32_t numerator = 0;
    int32_t denominator = 0;
    bool running = false;
    bool cycleActive = false;
};

// Transport states answered by GetTransportState.
enum ITransportState : int32_t {
    kTransportStopped = 0,
    kTransportPlaying = 1,
    kTransportRecording = 2
};
