#pragma once

#include "framework/IEffectBase.h"

// A plug-in base whose host operations do nothing, so benchmarks time the drawing alone.
class SilentHostEffect : public IEffectBase {
public:
    explicit SilentHostEffect(const IEffectConfig& config) : IEffectBase(config) {}

    void BeginParamEdit(int) override {}
    void PerformParamEdit(int, double) override {}
    void EndParamEdit(int) override {}
    int32_t HostSamplePosition() override { return 0; }
    double HostTempo() override { return 120.0; }
    void HostTimeSignature(int* numerator, int* denominator) override {
        *numerator = 4;
        *denominator = 4;
    }
    void ResizeEditor(int, int) override {}
    bool SendMidiMessage(const IMidiMessage&) override { return false; }

    static IEffectConfig NamedConfig(int paramCount) {
        IEffectConfig config;
        config.paramCount = paramCount;
        config.effectName = "Bench";
        return config;
    }
};
