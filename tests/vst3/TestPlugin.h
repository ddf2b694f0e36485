#pragma once

#include "HostFakes.h"
#include "vst3/IEffectVST3.h"

#include <array>
#include <vector>

// A small instrument on the adapter: a parameter of each kind, three preset slots of which two
// are filled, stereo output and MIDI input. Its render writes the running sample count to the
// left channel and its negation to the right, so each output sample tells where it came from.
class TestPlugin : public IEffectVST3 {
public:
    static constexpr int kFreq = 0, kCount = 1, kMode = 2, kGain = 3;

    TestPlugin() : IEffectVST3(Config(), 0) {
        ParamAt(kFreq)->DefineDouble("Freq", 440.0, 5.0, 10000.0, 0.1, "Hz");
        ParamAt(kFreq)->SetShape(2.0);
        ParamAt(kCount)->DefineInt("Count", 7, 1, 16, "");
        ParamAt(kMode)->DefineEnum("Mode", 1, 3, "");
        for (int i = 0; i < 3; ++i) ParamAt(kMode)->AddDisplayText(i, kModeNames[i]);
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

    std::array<double, 4> Values() const {
        return {ParamAt(0)->Value(), ParamAt(1)->Value(), ParamAt(2)->Value(), ParamAt(3)->Value()};
    }

    std::vector<int> changed;
    std::vector<IMidiMessage> midi;
    std::vector<int> pieces;
    long position = 0;
    bool acceptStored = true;

private:
    static constexpr const char* kModeNames[] = {"Sine", "Saw", "Square"};

    static IEffectConfig Config() {
        IEffectConfig config;
        config.paramCount = 4;
        config.channelIO = "0-2";
        config.presetCount = 3;
        config.effectName = "Test";
        config.receivesMidi = true;
        config.isInstrument = true;
        return config;
    }
};

using PluginPtr = IPtr<TestPlugin>;

// A test plug-in as a host has it after initialize, its buses activated as their flags ask.
inline PluginPtr MakeInitializedPlugin(FUnknown* context = nullptr) {
    PluginPtr plugin(new TestPlugin, false);
    plugin->initialize(context);
    plugin->activateBus(kAudio, kOutput, 0, true);
    plugin->activateBus(kEvent, kInput, 0, true);
    return plugin;
}

// The same, ready to process.
inline PluginPtr MakePlugin(int32 sampleSize = kSample32, FUnknown* context = nullptr) {
    PluginPtr plugin = MakeInitializedPlugin(context);
    ProcessSetup setup{kRealtime, sampleSize, 64, 48000.0};
    plugin->setupProcessing(setup);
    plugin->setActive(true);
    return plugin;
}

// One block of 16 frames whose only parameter change is the given queue.
inline void ProcessChange(IEffectVST3& plugin, ParamID id, std::vector<double> points) {
    FakeChanges changes;
    changes.queues.emplace_back(id, std::move(points));
    Block<float> block(16);
    block.data.inputParameterChanges = &changes;
    plugin.process(block.data);
}
