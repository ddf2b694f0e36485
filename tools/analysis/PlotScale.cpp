#include "tools/analysis/PlotScale.h"

#include <algorithm>
#include <cmath>

namespace serivane::tools {

double roundStep(double span, int wanted) {
    const double rough = span / std::max(1, wanted);
    const double decade = std::pow(10.0, std::floor(std::log10(rough)));
    for (double factor : {1.0, 2.0, 5.0}) {
        if (factor * decade >= rough) return factor * decade;
    }
    return 10.0 * decade;
}

PlotScale::PlotScale(double low, double high, double pixelLow, double pixelHigh, bool logarithmic)
    : low_(low), high_(high), pixelLow_(pixelLow), pixelHigh_(pixelHigh),
      logarithmic_(logarithmic) {}

PlotScale PlotScale::linear(double low, double high, double pixelLow, double pixelHigh) {
    return {low, high, pixelLow, pixelHigh, false};
}

PlotScale PlotScale::logarithmic(double low, double high, double pixelLow, double pixelHigh) {
    return {low, high, pixelLow, pixelHigh, true};
}

double PlotScale::position(double value) const {
    if (logarithmic_) return std::log(value / low_) / std::log(high_ / low_);
    return (value - low_) / (high_ - low_);
}

double PlotScale::pixel(double value) const {
    return pixelLow_ + (pixelHigh_ - pixelLow_) * position(value);
}

std::vector<double> PlotScale::ticks(int wanted) const {
    std::vector<double> ticks;
    if (!logarithmic_) {
        const double step = roundStep(high_ - low_, wanted);
        for (double v = std::ceil(low_ / step) * step; v <= high_ + step * 1e-9; v += step)
            ticks.push_back(std::fabs(v) < step * 1e-9 ? 0.0 : v);
        return ticks;
    }
    const double decades = std::log10(high_ / low_);
    // Narrow ranges get every whole multiple of the decade, middling ones the 1-2-5 values,
    // wide ones only the powers of ten.
    std::vector<double> factors = {1};
    if (decades * 9.0 <= wanted)
        factors = {1, 2, 3, 4, 5, 6, 7, 8, 9};
    else if (decades * 3.0 <= wanted)
        factors = {1, 2, 5};
    for (double decade = std::pow(10.0, std::floor(std::log10(low_))); decade <= high_;
         decade *= 10.0) {
        for (double factor : factors) {
            const double v = factor * decade;
            if (v >= low_ && v <= high_) ticks.push_back(v);
        }
    }
    return ticks;
}

} // namespace serivane::tools
