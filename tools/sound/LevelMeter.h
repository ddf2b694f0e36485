#pragma once

#include <cstdint>

namespace serivane::tools {

// Peak and RMS over every sample of a render, and a count of samples that were not finite.
class LevelMeter {
public:
    void add(const float* samples, std::int64_t count);
    void add(const double* samples, std::int64_t count);

    double peak() const { return peak_; }
    double rms() const;
    std::int64_t nonFinite() const { return nonFinite_; }

private:
    template <typename Sample> void addAll(const Sample* samples, std::int64_t count);

    double peak_ = 0.0;
    double sumOfSquares_ = 0.0;
    std::int64_t count_ = 0;
    std::int64_t nonFinite_ = 0;
};

} // namespace serivane::tools
