#pragma once

#include "engine/ParamIds.h"
#include "instrument/CLS_SERIVANE.h"

#include <memory>
#include <optional>
#include <vector>

// The instrument with 16 tones a few seconds into their sweep, rendered directly at 48 kHz. The
// sweep takes the given seconds, or the default program's when none are given.
class SweepingInstrument {
public:
    static constexpr double kSampleRate = 48000.0;
    static constexpr int kBlock = 512;

    explicit SweepingInstrument(std::optional<double> rateSeconds = 10.0) {
        plugin_->SetSampleRate(kSampleRate);
        for (int i = 0; i < kNumParams; ++i) plugin_->OnParamChanged(i);
        Set(kTones, 16);
        Set(kPlayAnyway, 1);
        if (rateSeconds) Set(kRate, *rateSeconds);
        Render(400);
    }

    CLS_SERIVANE& Plugin() { return *plugin_; }

    void Set(int index, double value) {
        plugin_->ParamAt(index)->SetClamped(value);
        plugin_->OnParamChanged(index);
    }
    void Render(int blocks) {
        double* outputs[2] = {left_.data(), right_.data()};
        for (int i = 0; i < blocks; ++i) plugin_->RenderBlock(nullptr, outputs, kBlock);
    }

private:
    struct Release {
        void operator()(CLS_SERIVANE* p) const { p->release(); }
    };
    std::unique_ptr<CLS_SERIVANE, Release> plugin_{new CLS_SERIVANE()};
    std::vector<double> left_ = std::vector<double>(kBlock);
    std::vector<double> right_ = std::vector<double>(kBlock);
};
