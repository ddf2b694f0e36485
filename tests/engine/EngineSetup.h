#pragma once

#include "engine/ToneEngine.h"

#include <array>
#include <vector>

constexpr double kSampleRate = 48000.0;
using EngineValues = std::array<double, 13>;

// "Binaural" to "Volume" at their defaults.
EngineValues DefaultValues();
// Applies the values, then prepares the engine the way the instrument's first block does.
void StartEngine(ToneEngine& engine, const EngineValues& values, double sampleRate = kSampleRate);

// The engine's internals, for the literal reference render and for tests that plant a state.
struct ToneEngineTestAccess {
    // Whoever changes the voices here changes them behind the render's back.
    static ToneVoices& Voices(ToneEngine& engine) {
        engine.VoicesChanged();
        return engine.voices_;
    }
    static double& CurrentGain(ToneEngine& engine) { return engine.currentGain_; }
    static bool& RestartRequested(ToneEngine& engine) { return engine.restartRequested_; }
};

// A stereo block of host buffers.
struct StereoBlock {
    explicit StereoBlock(int frames, double fill = 0.0);
    std::vector<double> left;
    std::vector<double> right;
    double* channels[2];
};

// The render steps written out literally, frame by frame and ear by ear, as the yardstick for
// the engine's own loop.
void ReferenceRender(ToneEngine& engine, const double* const* inputs, double* const* outputs,
                     int frames, bool transportRunning, int32_t hostSamplePosition);
