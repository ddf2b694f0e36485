#pragma once

#include "pluginterfaces/vst/ivstaudioprocessor.h"

#include <vector>

// One stereo output block in the host's sample format. Every sample starts as NaN, so a sample
// the plug-in leaves unwritten shows as one.
class AudioBlock {
public:
    AudioBlock(Steinberg::int32 frames, Steinberg::int32 sampleSize);
    AudioBlock(const AudioBlock&) = delete;
    AudioBlock& operator=(const AudioBlock&) = delete;

    Steinberg::Vst::ProcessData& Data() { return data_; }

    // Checks that every sample is finite and within the bound.
    void RequireWithin(double bound) const;

private:
    template <typename Sample>
    void RequireWithin(const std::vector<Sample>& channel, int ear, double bound) const;

    std::vector<float> single_[2];
    std::vector<double> double_[2];
    float* singlePointers_[2] = {};
    double* doublePointers_[2] = {};
    Steinberg::Vst::AudioBusBuffers bus_{};
    Steinberg::Vst::ProcessData data_{};
};
