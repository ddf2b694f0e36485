#pragma once

#include <vector>

namespace serivane::tools {

// Maps the values of one plot axis onto pixels, linearly or logarithmically, and offers round
// values for its ticks.
class PlotScale {
public:
    static PlotScale linear(double low, double high, double pixelLow, double pixelHigh);
    // `low` and `high` above 0.
    static PlotScale logarithmic(double low, double high, double pixelLow, double pixelHigh);

    double pixel(double value) const;
    double low() const { return low_; }
    double high() const { return high_; }
    // Round values inside the range, at most about `wanted` of them: steps of 1, 2 or 5 times a
    // power of ten (linear), or whole multiples, the 1-2-5 values or the powers of ten of each
    // decade (logarithmic).
    std::vector<double> ticks(int wanted) const;

private:
    PlotScale(double low, double high, double pixelLow, double pixelHigh, bool logarithmic);
    double position(double value) const;

    double low_;
    double high_;
    double pixelLow_;
    double pixelHigh_;
    bool logarithmic_;
};

// The smallest step of 1, 2 or 5 times a power of ten that divides `span` into at most `wanted`
// parts.
double roundStep(double span, int wanted);

} // namespace serivane::tools
