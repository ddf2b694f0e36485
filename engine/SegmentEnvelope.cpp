#include "engine/SegmentEnvelope.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <limits>

namespace {

constexpr float kMultiLevels[kMaxSegments] = {0.5f, 1.0f, 0.5f, 0.0f};
constexpr float kMultiCurvatures[kMaxSegments] = {4.0f, -4.0f, 4.0f, -4.0f};
constexpr double kJump = std::numeric_limits<double>::infinity();

// Truncation towards zero that saturates instead of overflowing.
int TruncateSteps(float steps) {
    if (!(steps < static_cast<float>(INT_MAX))) return std::isnan(steps) ? 0 : INT_MAX;
    if (!(steps > static_cast<float>(INT_MIN))) return INT_MIN;
    return static_cast<int>(steps);
}

double PowerBySquaring(double m, int n) {
    unsigned e = n < 0 ? 0u - static_cast<unsigned>(n) : static_cast<unsigned>(n);
    double result = 1.0;
    for (double base = m; e != 0; e >>= 1, base *= base) {
        if ((e & 1u) != 0) result *= base;
    }
    return n < 0 ? 1.0 / result : result;
}

// A segment without a positive number of steps is passed in a single step: the infinite
// increment overshoots, and the end-level test snaps the value to the end.
CurveTerms JumpTerms(bool rising) {
    return {rising ? kJump : -kJump, 1.0};
}

void FinishStep(SegmentEnvelope& env) {
    const double end = env.endLevels[env.segment];
    if (env.rising[env.segment] != 0 ? env.value >= end : env.value <= end) {
        env.value = end;
        if (++env.segment == env.count) {
            env.segment = 0;
            env.value = env.start;
        }
    }
}

} // namespace

void LinearStep(SegmentEnvelope& env) {
    env.value += env.increments[env.segment];
    FinishStep(env);
}

void CurvedStep(SegmentEnvelope& env) {
    env.value = env.multipliers[env.segment] * env.value + env.increments[env.segment];
    FinishStep(env);
}

CurveTerms CurveCoefficients(double a, double b, float h, int n) {
    const double m = std::exp(h / static_cast<float>(n));
    if (m == 1.0) {
        return {static_cast<float>(b - a) / static_cast<float>(n), m};
    }
    const double t = PowerBySquaring(m, n);
    return {(a * t - b) * (m - 1.0) / (1.0 - t), m};
}

double CurveValue(double a, double m, double c, int n) {
    if (m == 1.0) return n * c + a;
    const double g = PowerBySquaring(m, n);
    return (g - 1.0) * c / (m - 1.0) + g * a;
}

void SegmentEnvelope::Init(bool singleForm) {
    single = singleForm;
    epsilon = 1e-4f;
    count = single ? 1 : kMaxSegments;
    value = 0.0;
    start = 0.0;
    segment = 0;
    length = 0.0f;
    for (int i = 0; i < kMaxSegments; ++i) {
        curvatures[i] = single ? 0.0f : kMultiCurvatures[i];
    }
    for (int i = 0; i < kMaxSegments - 1; ++i) innerPoints[i] = (i + 1) * 0.25f;
    Prepare(0.0f);
}

void SegmentEnvelope::Prepare(float newLength) {
    if (newLength > 0.0f) length = newLength;
    bool curved = false;
    float prev = static_cast<float>(start);
    for (int i = 0; i < count; ++i) {
        endLevels[i] = single ? 1.0f : kMultiLevels[i];
        rising[i] = prev > endLevels[i] ? 0 : 1;
        const float steps = (RightBoundary(i) - LeftBoundary(i)) * length;
        const bool linear = std::fabs(curvatures[i]) < epsilon;
        CurveTerms terms = JumpTerms(rising[i] != 0);
        if (linear && steps > 0.0f) {
            const double increment =
                single ? 1.0 / length : static_cast<double>((endLevels[i] - prev) / steps);
            terms = {increment, 1.0};
        } else if (!linear && TruncateSteps(steps) > 0) {
            terms = CurveCoefficients(prev, endLevels[i], curvatures[i], TruncateSteps(steps));
        }
        increments[i] = terms.increment;
        multipliers[i] = terms.multiplier;
        curved = curved || !linear;
        prev = endLevels[i];
    }
    stepFunction = curved ? &CurvedStep : &LinearStep;
}

void SegmentEnvelope::Seek(double x) {
    segment = count - 1;
    for (int i = 0; i < count - 1; ++i) {
        if (x < innerPoints[i]) {
            segment = i;
            break;
        }
    }
    const float k = static_cast<float>((x - LeftBoundary(segment)) * length);
    const double a = segment == 0 ? start : static_cast<double>(endLevels[segment - 1]);
    const double end = endLevels[segment];
    // No step taken yet means the segment's start level; this also keeps the infinite
    // increment of a zero-length segment out of the products.
    if (std::fabs(curvatures[segment]) < epsilon) {
        value = k > 0.0f ? k * increments[segment] + a : a;
    } else {
        const int n = TruncateSteps(k);
        value = n > 0 ? CurveValue(a, multipliers[segment], increments[segment], n) : a;
    }
    // Rounding in the closed forms may land a hair past the segment's levels.
    value = std::clamp(value, std::min(a, end), std::max(a, end));
}
