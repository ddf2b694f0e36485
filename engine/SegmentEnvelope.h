#pragma once

#include <cstdint>

struct SegmentEnvelope;
using EnvelopeStep = void (*)(SegmentEnvelope& envelope);

constexpr int kMaxSegments = 4;

// Additive and multiplicative terms of one curved segment.
struct CurveTerms {
    double increment;
    double multiplier;
};

// The two step functions: value += increment, or value = multiplier * value + increment; a
// value that reaches the segment's end level snaps to it and moves on to the next segment.
void LinearStep(SegmentEnvelope& env);
void CurvedStep(SegmentEnvelope& env);

// Looping envelope of one segment (0 to 1) or four segments (0, 0.5, 1, 0.5, 0), stepped
// once per call through stepFunction; its arrays are fixed so it never allocates.
struct SegmentEnvelope {
    double value = 0.0;
    double start = 0.0;
    double increments[kMaxSegments] = {};
    double multipliers[kMaxSegments] = {1.0, 1.0, 1.0, 1.0}; // 1 for a linear segment
    float curvatures[kMaxSegments] = {};
    float endLevels[kMaxSegments] = {};
    float innerPoints[kMaxSegments - 1] = {};
    float length = 0.0f;
    float epsilon = 1e-4f;
    int segment = 0;
    int count = 1;
    uint8_t rising[kMaxSegments] = {};
    bool single = true;
    EnvelopeStep stepFunction = &LinearStep;

    void Init(bool singleForm);
    // Keeps value and segment, so an envelope re-prepared mid-pass carries on from there.
    void Prepare(float newLength);
    void Step() { stepFunction(*this); }
    void Seek(double x);

    float LeftBoundary(int i) const { return i == 0 ? 0.0f : innerPoints[i - 1]; }
    float RightBoundary(int i) const { return i == count - 1 ? 1.0f : innerPoints[i]; }
};

// Terms of x <- m * x + increment that lead from a to b in n > 0 steps with curvature h.
CurveTerms CurveCoefficients(double a, double b, float h, int n);
// Value after n steps of that recurrence from a, in closed form.
double CurveValue(double a, double m, double c, int n);
