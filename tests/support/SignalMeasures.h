#pragma once

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <numbers>
#include <vector>

// Small measurements of test signals: tones, their level at one frequency, their frequency
// and their steepest step.
namespace measure {

inline std::vector<float> tone(double frequency, int rate, double seconds, double amplitude,
                               int channels = 1, double phase = 0.0) {
    auto frames = static_cast<std::size_t>(seconds * rate);
    std::vector<float> samples(frames * static_cast<std::size_t>(channels));
    for (std::size_t f = 0; f < frames; ++f) {
        double angle = phase + 2.0 * std::numbers::pi * frequency * static_cast<double>(f) / rate;
        auto value = static_cast<float>(amplitude * std::sin(angle));
        for (int c = 0; c < channels; ++c) samples[f * channels + c] = value;
    }
    return samples;
}

// The amplitude of the component at `frequency`, through a Hann window.
inline double amplitudeAt(const std::vector<float>& samples, double frequency, int rate) {
    double re = 0.0, im = 0.0, windowSum = 0.0;
    const std::size_t n = samples.size();
    for (std::size_t i = 0; i < n; ++i) {
        double w = 0.5 - 0.5 * std::cos(2.0 * std::numbers::pi * static_cast<double>(i) / n);
        double angle = 2.0 * std::numbers::pi * frequency * static_cast<double>(i) / rate;
        re += w * samples[i] * std::cos(angle);
        im -= w * samples[i] * std::sin(angle);
        windowSum += w;
    }
    return 2.0 * std::hypot(re, im) / windowSum;
}

// The frequency from the first to the last upward zero crossing, each placed between its two
// samples.
inline double frequencyOf(const std::vector<float>& samples, int rate) {
    double first = -1.0, last = -1.0;
    int crossings = 0;
    for (std::size_t i = 1; i < samples.size(); ++i) {
        if (samples[i - 1] >= 0.0f || samples[i] < 0.0f) continue;
        double at = static_cast<double>(i - 1) + samples[i - 1] / (samples[i - 1] - samples[i]);
        if (first < 0.0) first = at;
        last = at;
        ++crossings;
    }
    return crossings > 1 ? (crossings - 1) * rate / (last - first) : 0.0;
}

template <typename Sample> double largestStep(const std::vector<Sample>& samples) {
    double step = 0.0;
    for (std::size_t i = 1; i < samples.size(); ++i)
        step = std::max(step, std::abs(static_cast<double>(samples[i]) - samples[i - 1]));
    return step;
}

inline double rms(const std::vector<float>& samples, std::size_t from, std::size_t to) {
    double sum = 0.0;
    for (std::size_t i = from; i < to; ++i) sum += static_cast<double>(samples[i]) * samples[i];
    return std::sqrt(sum / static_cast<double>(to - from));
}

} // namespace measure
