#pragma once

#include <cstdint>
#include <string>

namespace serivane::tools {

// Peak and RMS over every sample of a render, and a count of samples that were not finite.
class LevelMeter {
public:
    template <typename Sample> void add(const Sample* samples, std::int64_t count) {
        for (std::int64_t i = 0; i < count; ++i) addOne(static_cast<double>(samples[i]));
    }

    double peak() const { return peak_; }
    double rms() const;
    std::int64_t nonFinite() const { return nonFinite_; }

private:
    void addOne(double sample);

    double peak_ = 0.0;
    double sumOfSquares_ = 0.0;
    std::int64_t count_ = 0;
    std::int64_t nonFinite_ = 0;
};

// Level in dB relative to full scale; "-inf" for silence.
std::string decibelText(double level);

} // namespace serivane::tools
