#pragma once

#include "framework/IEffectBase.h"

#include <vector>

// A plug-in base with the host operations recorded instead of sent.
class TestEffect : public IEffectBase {
public:
    explicit TestEffect(const IEffectConfig& config) : IEffectBase(config) {}

    void BeginParamEdit(int index) override { edits.push_back({'b', index}); }
    void PerformParamEdit(int index, double) override { edits.push_back({'p', index}); }
    void EndParamEdit(int index) override { edits.push_back({'e', index}); }
    int32_t HostSamplePosition() override { return 0; }
    double HostTempo() override { return 120.0; }
    void HostTimeSignature(int* numerator, int* denominator) override {
        *numerator = 4;
        *denominator = 4;
    }
    void ResizeEditor(int, int) override {}
    bool SendMidiMessage(const IMidiMessage&) override { return false; }
    void OnParamChanged(int index) override { changed.push_back(index); }
    bool AcceptStoredParam(int index, int presetIndex) override {
        return acceptOdd ? (index % 2 == 1 || presetIndex < 0) : true;
    }

    struct Edit {
        char kind;
        int index;
        bool operator==(const Edit&) const = default;
    };
    std::vector<Edit> edits;
    std::vector<int> changed;
    bool acceptOdd = false;
};

inline IEffectConfig TestConfig(int params, int presets, const char* channels = "0-2") {
    IEffectConfig config;
    config.paramCount = params;
    config.channelIO = channels;
    config.presetCount = presets;
    config.effectName = "Test";
    config.version = 0x00010200;
    config.interfaceKind = 1;
    return config;
}
