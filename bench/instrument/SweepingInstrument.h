#pragma once

#include "engine/ParamIds.h"
#include "instrument/CLS_SERIVANE.h"

#include <memory>
#include <vector>

// The instrument with 16 tones a few seconds into their sweep, rendered directly at 48 kHz.
class SweepingInstrument {
public:
    SweepingInstrument() {
        plugin_->SetSampleRate(48000);
        for (int i = 0; i < kNumParams; ++i) plugin_->OnParamChanged(i);
        Set(kTones, 16);
        Set(kPlayAnyway, 1);
        Set(kRate, 10);
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
    static constexpr int kBlock = 512;

    std::unique_ptr<CLS_SERIVANE, Release> plugin_{new CLS_SERIVANE()};
    std::vector<double> left_ = std::vector<double>(kBlock);
    std::vector<double> right_ = std::vector<double>(kBlock);
};
