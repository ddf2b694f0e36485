#pragma once

#include <cstdint>

// Phase increment of one tone for one ear, in radians per sample.
struct ToneIncrement {
    double value = 0.0; // increment used now
    double low = 0.0;   // increment at envelope value 0
    double high = 0.0;  // increment at envelope value 1
    double span = 0.0;  // high - low
};

// Level of one tone, shared by both ears.
struct ToneLevel {
    double value = 0.0;
    double offset = 0.0;
    double level = 0.5;
    double scale = 0.5;
};

struct OscillatorBank;
using WaveFunction = double (*)(const OscillatorBank& bank, double phase);

constexpr int kMaxTones = 16;
constexpr int kEars = 2;
constexpr double kPi = 3.141592653589793;

// The sine shape; the bank starts with it installed so that no block renders without a shape.
double SineWave(const OscillatorBank& bank, double phase);

// Phases, per-tone targets and the selected waveform with its constants.
struct OscillatorBank {
    int waveIndex = 0;
    WaveFunction waveFunction = &SineWave;
    double phase[kEars][kMaxTones] = {};
    double period = 6.283185307179586;
    ToneIncrement rates[kEars][kMaxTones] = {};
    ToneLevel levels[kMaxTones] = {};
    double quarterTurn = 1.5707963267948966;
    double inversePi = 0.3183098861837907;
    double sineC5 = 0.007352468196870117;
    double sineC3 = -0.1652891139701474;
    double sineC1 = 0.9996919862959676;
    float goldenFraction = 0.618f;
    double switchPoint = 3.8830083370775546;
    double slope1 = 0.0;
    double slope2 = 0.0;
    double offset2 = 0.0;
};

// Installs the shape of "Wave" entry `entry`; ignores every parameter index but 8.
void SetWave(OscillatorBank& bank, int paramIndex, int entry);

// Brings any phase into [0, period), the only phases a wave function takes; NaN and the
// infinities give 0.
double WrapPhase(double phase, double period);

// The shared sine approximation, valid for any x.
double ApproxSine(const OscillatorBank& bank, double x);

// The other six shapes; a phase lies in [0, 2pi) and every result in [-1, 1].
double TriangleWave(const OscillatorBank& bank, double phase);
double SawWave(const OscillatorBank& bank, double phase);
double GoldenSineWave(const OscillatorBank& bank, double phase);
double GoldenHalfSineWave(const OscillatorBank& bank, double phase);
double GoldenTriangleWave(const OscillatorBank& bank, double phase);
double GoldenSquareWave(const OscillatorBank& bank, double phase);
