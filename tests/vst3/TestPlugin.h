#pragma once

#include "vst3/IEffectVST3.h"

#include "base/source/fobject.h"

#include <array>
#include <vector>

// A small instrument on the adapter: four parameters of every kind, three preset slots of which
// two are filled, stereo output and MIDI input. Its render writes a running sample count to the
// left channel and its negation to the right, so every output sample tells where it came from.
class TestPlugin : public IEffectVST3 {
public:
    static constexpr int kFreq = 0, kCount = 1, kMode = 2, kGain = 3;

    TestPlugin() : IEffectVST3(Config(), 0) {
        ParamAt(kFreq)->DefineDouble("Freq", 440.0, 5.0, 10000.0, 0.1, "Hz");
        ParamAt(kFreq)->SetShape(2.0);
        ParamAt(kCount)->DefineInt("Count", 7, 1, 16, "");
        ParamAt(kMode)->DefineEnum("Mode", 1, 3, "");
        ParamAt(kMode)->AddDisplayText(0, "Sine");
        ParamAt(kMode)->AddDisplayText(1, "Saw");
        ParamAt(kMode)->AddDisplayText(2, "Square");
        ParamAt(kGain)->DefineDouble("Gain", 50.0, 0.0, 100.0, 0.01, "%");
        AddPreset("First", std::array<double, 4>{1000.0, 3.0, 2.0, 25.0});
        AddPreset("Second", std::array<double, 4>{20.0, 16.0, 0.0, 75.0});
        SetRenderEnabled(true);
    }

    void OnParamChanged(int index) override { changed.push_back(index); }
    void OnMidiMessage(const IMidiMessage& message) override { midi.push_back(message); }
    bool AcceptStoredParam(int, int) override { return acceptStored; }
    void RenderBlock(double**, double** outputs, int frames) override {
        pieces.push_back(frames);
        for (int i = 0; i < frames; ++i, ++position) {
            outputs[0][i] = static_cast<double>(position);
            outputs[1][i] = -static_cast<double>(position);
        }
    }

    std::vector<int> changed;
    std::vector<IMidiMessage> midi;
    std::vector<int> pieces;
    long position = 0;
    bool acceptStored = true;

private:
    static IEffectConfig Config() {
        IEffectConfig config;
        config.paramCount = 4;
        config.channelIO = "0-2";
        config.presetCount = 3;
        config.effectName = "Test";
        config.manufacturerName = "Tests";
        config.version = 0x00010000;
        config.receivesMidi = true;
        config.isInstrument = true;
        return config;
    }
};

using PluginPtr = Steinberg::IPtr<TestPlugin>;

// A test plug-in as a host has it after initialize, with its buses activated as their flags ask.
inline PluginPtr MakeInitializedPlugin(Steinberg::FUnknown* context = nullptr) {
    PluginPtr plugin(new TestPlugin, false);
    plugin->initialize(context);
    plugin->activateBus(Steinberg::Vst::kAudio, Steinberg::Vst::kOutput, 0, true);
    plugin->activateBus(Steinberg::Vst::kEvent, Steinberg::Vst::kInput, 0, true);
    return plugin;
}

// The same, ready to process.
inline PluginPtr MakePlugin(Steinberg::int32 sampleSize = Steinberg::Vst::kSample32,
                            Steinberg::int32 maxBlock = 64,
                            Steinberg::FUnknown* context = nullptr) {
    PluginPtr plugin = MakeInitializedPlugin(context);
    Steinberg::Vst::ProcessSetup setup{Steinberg::Vst::kRealtime, sampleSize, maxBlock, 48000.0};
    plugin->setupProcessing(setup);
    plugin->setActive(true);
    return plugin;
}
