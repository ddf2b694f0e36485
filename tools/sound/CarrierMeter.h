#pragma once

#include "tools/sound/SoundRing.h"

#include <cstddef>
#include <optional>
#include <vector>

namespace serivane::tools {

// The frequency of the strongest tone in the last fraction of a second of a stream, midway
// between the two ears' versions of it: the carrier that is sounding now. Runs off the audio
// thread, on a copy of the recent sound.
class CarrierMeter {
public:
    explicit CarrierMeter(double sampleRate);
    ~CarrierMeter();
    CarrierMeter(const CarrierMeter&) = delete;
    CarrierMeter& operator=(const CarrierMeter&) = delete;

    // `beatHertz` bounds how far apart the ears' peaks may lie. None while too little sound
    // was played or the sound is silent.
    std::optional<double> measure(const SoundRing& recent, double beatHertz);

    // The same on two ears' samples of the meter's window length.
    std::optional<double> measure(const std::vector<float>& left, const std::vector<float>& right,
                                  double beatHertz);

    std::size_t windowFrames() const { return frames_; }

private:
    void spectrum(const std::vector<float>& samples, std::vector<double>& power);
    double peakHertz(const std::vector<double>& power, std::size_t around, std::size_t reach) const;

    double sampleRate_;
    std::size_t frames_;
    std::vector<double> window_;
    double* input_;
    void* output_;
    void* plan_;
    std::vector<float> left_, right_;
    std::vector<double> leftPower_, rightPower_;
};

} // namespace serivane::tools
