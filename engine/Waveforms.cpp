#include "engine/Waveforms.h"

#include "engine/ParamIds.h"
#include "engine/WaveShapes.h"

#include <cmath>

namespace {

// The golden expressions are evaluated in single precision and widened afterwards.
void SetGoldenSine(OscillatorBank& bank, float g) {
    const double rest = 1.0f - g;
    bank.switchPoint = rest * bank.period;
    bank.slope1 = 0.5 / rest;
    bank.slope2 = 0.5 / g;
    bank.offset2 = static_cast<double>(1.0f - 2.0f * (1.0f - g)) * kPi / g;
}

void SetGoldenHalfSine(OscillatorBank& bank, float g) {
    const double rest = 1.0f - g;
    bank.switchPoint = g * bank.period;
    bank.slope1 = 0.25 / g;
    bank.slope2 = 0.25 / rest;
    bank.offset2 = static_cast<double>(1.0f - 2.0f * g) * kPi / rest * 0.5;
}

void SetGoldenTriangle(OscillatorBank& bank, float g) {
    const double rest = 1.0f - g;
    bank.switchPoint = g * bank.period;
    bank.slope1 = 2.0 / bank.switchPoint;
    bank.slope2 = (1.0f + g) / (1.0f - g);
    bank.offset2 = bank.inversePi / rest;
}

} // namespace

// The remainder is exact; adding a period to a tiny negative one can round up to the period.
double WrapPhase(double phase, double period) {
    double r = std::fmod(phase, period);
    if (r < 0.0) r += period;
    return r >= 0.0 && r < period ? r : 0.0;
}

double ApproxSine(const OscillatorBank& bank, double x) {
    return PolySine(bank, x);
}
double SineWave(const OscillatorBank& bank, double phase) {
    return SineShape::At(bank, phase);
}
double TriangleWave(const OscillatorBank& bank, double phase) {
    return TriangleShape::At(bank, phase);
}
double SawWave(const OscillatorBank& bank, double phase) {
    return SawShape::At(bank, phase);
}
double GoldenSineWave(const OscillatorBank& bank, double phase) {
    return GoldenSineShape::At(bank, phase);
}
double GoldenHalfSineWave(const OscillatorBank& bank, double phase) {
    return GoldenHalfSineShape::At(bank, phase);
}
double GoldenTriangleWave(const OscillatorBank& bank, double phase) {
    return GoldenTriangleShape::At(bank, phase);
}
double GoldenSquareWave(const OscillatorBank& bank, double phase) {
    return GoldenSquareShape::At(bank, phase);
}

void SetWave(OscillatorBank& bank, int paramIndex, int entry) {
    if (paramIndex != kWave) return;
    bank.waveIndex = entry;
    const float g = bank.goldenFraction;
    switch (entry) {
    case 0:
        bank.waveFunction = &SineWave;
        break;
    case 1:
        bank.waveFunction = &TriangleWave;
        bank.slope1 = 1.0 / bank.quarterTurn;
        break;
    case 2:
        bank.waveFunction = &SawWave;
        break;
    case 3:
        bank.waveFunction = &GoldenSineWave;
        SetGoldenSine(bank, g);
        break;
    case 4:
        bank.waveFunction = &GoldenHalfSineWave;
        SetGoldenHalfSine(bank, g);
        break;
    case 5:
        bank.waveFunction = &GoldenTriangleWave;
        SetGoldenTriangle(bank, g);
        break;
    case 6:
        bank.waveFunction = &GoldenSquareWave;
        bank.switchPoint = g * bank.period;
        break;
    default:
        break;
    }
}
