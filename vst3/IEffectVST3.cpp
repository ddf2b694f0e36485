#include "vst3/IEffectVST3.h"

#include "vst3/HostRunLoop.h"
#include "vst3/IEffectParameter.h"
#include "vst3/Utf16Text.h"

#include "pluginterfaces/base/funknown.h"
#include "pluginterfaces/vst/ivsthostapplication.h"
#include "pluginterfaces/vst/vstspeaker.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace {

constexpr int kTextCapacity = 128;
// How often pending host notifications are looked for.
constexpr int kNotificationIntervalMs = 50;

IEffectConfig WithVst3Interface(IEffectConfig config) {
    config.interfaceKind = 1;
    return config;
}

std::string LabelAt(const std::vector<std::string>& labels, int index) {
    return index < static_cast<int>(labels.size()) ? labels[static_cast<size_t>(index)] : "";
}

int ChannelsOf(const SpeakerArrangement* arrangements, int32 count) {
    int channels = 0;
    for (int32 i = 0; arrangements && i < count; ++i)
        channels += SpeakerArr::getChannelCount(arrangements[i]);
    return channels;
}

// Whether the requested arrangements fit the buses one to one. Only the main bus (the first) may
// change its layout, and not when the plug-in fixes it to stereo.
bool AcceptsArrangements(const BusList& buses, const SpeakerArrangement* requested, int32 count,
                         bool stereoOnly) {
    if (count != static_cast<int32>(buses.size()) || (count > 0 && !requested)) return false;
    for (int32 i = 0; i < count; ++i) {
        const int channels = SpeakerArr::getChannelCount(requested[i]);
        if (channels == 0 || requested[i] != ArrangementForChannels(channels)) return false;
        const auto* bus = static_cast<const AudioBus*>(buses[static_cast<size_t>(i)].get());
        const bool fixed = stereoOnly || i > 0;
        if (fixed && requested[i] != bus->getArrangement()) return false;
    }
    return true;
}

} // namespace

SpeakerArrangement ArrangementForChannels(int channels) {
    switch (channels) {
    case 1:
        return SpeakerArr::kMono;
    case 2:
        return SpeakerArr::kStereo;
    case 3:
        return SpeakerArr::k30Music;
    case 4:
        return SpeakerArr::kAmbi1stOrderACN;
    case 5:
        return SpeakerArr::k50;
    case 6:
        return SpeakerArr::k51;
    default:
        return SpeakerArr::kEmpty;
    }
}

IEffectVST3::IEffectVST3(IEffectConfig config, int sideChainChannels)
    : IEffectBase(WithVst3Interface(config)), sideChainChannels_(std::max(0, sideChainChannels)),
      piece32_(static_cast<size_t>(std::max(InputChannelCount(), OutputChannelCount()))),
      piece64_(piece32_.size()) {
    SetInputConnections(0, InputChannelCount(), true);
    SetOutputConnections(0, OutputChannelCount(), true);
    SetInputBusName(0, "Main Input");
    if (sideChainChannels_ > 0) SetInputBusName(1, "Aux Input");
    if (!IsInstrument()) {
        SetOutputBusName(0, "Output");
        return;
    }
    for (int pair = 0; pair < OutputChannelCount() / 2; ++pair) {
        char label[32];
        std::snprintf(label, sizeof label, "Output %i", pair + 1);
        SetOutputBusName(pair, label);
    }
}

tresult PLUGIN_API IEffectVST3::initialize(FUnknown* context) {
    const tresult result = SingleComponentEffect::initialize(context);
    if (FUnknownPtr<IHostApplication> host(context); host) {
        String128 name{};
        host->getName(name);
        RecordHost(Utf16ToAscii(name, kTextCapacity).c_str(), 0);
    }
    if (result != kResultOk) return result;
    CreateBuses();
    CreateParameters();
    notificationLoop_ = NotificationTimerOn(ControllerRunLoop(context));
    return result;
}

std::unique_ptr<IRunLoopLink> IEffectVST3::NotificationTimerOn(std::unique_ptr<IRunLoopLink> loop) {
    if (!loop || !loop->StartTimer(kNotificationIntervalMs, [this] { DeliverHostNotifications(); }))
        return nullptr;
    return loop;
}

void IEffectVST3::CreateBuses() {
    String128 name{};
    const int mainInputs = InputChannelCount() - sideChainChannels_;
    if (mainInputs >= 1 && mainInputs <= 6) {
        AsciiToUtf16(LabelAt(InputBusLabels(), 0).c_str(), name, kTextCapacity);
        AddAudioInput(name, ArrangementForChannels(mainInputs));
    }
    if (sideChainChannels_ > 0) {
        AsciiToUtf16(LabelAt(InputBusLabels(), 1).c_str(), name, kTextCapacity);
        AddAudioInput(name, ArrangementForChannels(sideChainChannels_), kAux);
    }
    if (IsInstrument()) {
        for (int pair = 0; pair < OutputChannelCount() / 2; ++pair) {
            AsciiToUtf16(LabelAt(OutputBusLabels(), pair).c_str(), name, kTextCapacity);
            AddAudioOutput(name, SpeakerArr::kStereo, pair == 0 ? kMain : kAux);
        }
    } else {
        AsciiToUtf16(LabelAt(OutputBusLabels(), 0).c_str(), name, kTextCapacity);
        AddAudioOutput(name, ArrangementForChannels(OutputChannelCount()));
    }
    if (ReceivesMidi()) AddEventInput(STR16("MIDI Input"), 1);
}

// Every parameter reaches the plug-in's change handler once before the first block.
void IEffectVST3::CreateParameters() {
    if (PresetCount() > 0) {
        auto* programs =
            new StringListParameter(STR16("Presets"), kProgramParamId, nullptr,
                                    ParameterInfo::kIsProgramChange | ParameterInfo::kIsList);
        String128 empty{};
        for (int i = 0; i < PresetCount(); ++i) programs->appendString(empty);
        parameters.addParameter(programs);
    }
    for (int i = 0; i < ParamCount(); ++i) {
        IParamModel* model = ParamAt(i);
        parameters.addParameter(
            new IEffectParameter(model, static_cast<ParamID>(i), UnitOfGroup(model->Group())));
        OnParamChanged(i);
    }
}

// Unit k stands for the k-th parameter group; a new group name opens a new unit.
UnitID IEffectVST3::UnitOfGroup(const char* group) {
    if (!group || !*group) return kRootUnitId;
    std::vector<std::string>& groups = ParamGroups();
    for (size_t k = groups.size(); k > 0; --k)
        if (groups[k - 1] == group) return static_cast<UnitID>(k);
    groups.emplace_back(group);
    return static_cast<UnitID>(groups.size());
}

tresult PLUGIN_API IEffectVST3::setActive(TBool state) {
    OnActivate(state != 0);
    return kResultOk;
}

// A request is accepted only as a whole: one arrangement per bus, each the plug-in's own layout
// for its channel count (stereo is the only two-channel layout), instrument outputs stereo, side
// buses as they are, and channel totals the plug-in's configurations allow. A refused request
// changes nothing; an accepted one changes only the arrangements, so every bus keeps its name and
// the activation the host gave it.
tresult PLUGIN_API IEffectVST3::setBusArrangements(SpeakerArrangement* inputs, int32 numIns,
                                                   SpeakerArrangement* outputs, int32 numOuts) {
    std::lock_guard lock(Mutex());
    if (!AcceptsArrangements(audioInputs, inputs, numIns, false) ||
        !AcceptsArrangements(audioOutputs, outputs, numOuts, IsInstrument()) ||
        !AcceptsChannels(ChannelsOf(inputs, numIns), ChannelsOf(outputs, numOuts)))
        return kResultFalse;
    for (int32 i = 0; i < numIns; ++i)
        static_cast<AudioBus*>(audioInputs[static_cast<size_t>(i)].get())
            ->setArrangement(inputs[i]);
    for (int32 i = 0; i < numOuts; ++i)
        static_cast<AudioBus*>(audioOutputs[static_cast<size_t>(i)].get())
            ->setArrangement(outputs[i]);
    return kResultOk;
}

tresult PLUGIN_API IEffectVST3::canProcessSampleSize(int32 symbolicSize) {
    return symbolicSize == kSample32 || symbolicSize == kSample64 ? kResultOk : kResultFalse;
}

uint32 PLUGIN_API IEffectVST3::getLatencySamples() {
    return static_cast<uint32>(std::max(0, Latency()));
}

uint32 PLUGIN_API IEffectVST3::getTailSamples() {
    return static_cast<uint32>(std::max(0, TailSamples()));
}

// The prepared block size is capped and never zero; process splits larger blocks into pieces.
tresult PLUGIN_API IEffectVST3::setupProcessing(ProcessSetup& setup) {
    if (setup.symbolicSampleSize != kSample32 && setup.symbolicSampleSize != kSample64)
        return kResultFalse;
    if (!(setup.sampleRate > 0.0 && std::isfinite(setup.sampleRate))) return kInvalidArgument;
    std::lock_guard lock(Mutex());
    SetBypassed(false);
    SetSampleRate(setup.sampleRate);
    const int32 frames = setup.maxSamplesPerBlock;
    SetBlockSize(frames > 0 ? std::min(frames, kMaxPreparedBlock) : kMaxPreparedBlock);
    OnReset();
    processSetup = setup;
    return kResultOk;
}

tresult PLUGIN_API IEffectVST3::queryInterface(const TUID iid, void** obj) {
    QUERY_INTERFACE(iid, obj, IUnitInfo::iid, IUnitInfo)
    return SingleComponentEffect::queryInterface(iid, obj);
}

void IEffectVST3::DeliverHostNotifications() {
    const HostNotifications::Pending pending = notifications_.Take();
    if (!componentHandler) return;
    if (pending.paramValues) componentHandler->restartComponent(kParamValuesChanged);
    if (!pending.programNames) return;
    if (FUnknownPtr<IUnitHandler> units(componentHandler); units)
        units->notifyProgramListChange(kProgramListId, pending.program);
}

// Runs wherever a preset is loaded, the audio thread included, so it only flags.
void IEffectVST3::OnPresetLoaded(int index, bool renamed) {
    if (renamed)
        notifications_.FlagProgramName(index);
    else
        notifications_.FlagParamValues();
}

void IEffectVST3::BeginParamEdit(int index) {
    beginEdit(static_cast<ParamID>(index));
}

void IEffectVST3::PerformParamEdit(int index, double normalized) {
    performEdit(static_cast<ParamID>(index), normalized);
}

void IEffectVST3::EndParamEdit(int index) {
    endEdit(static_cast<ParamID>(index));
}

int32_t IEffectVST3::HostSamplePosition() {
    return static_cast<int32_t>(processContext_.projectTimeSamples);
}

double IEffectVST3::HostTempo() {
    return processContext_.tempo;
}

void IEffectVST3::HostTimeSignature(int* numerator, int* denominator) {
    if (numerator) *numerator = processContext_.timeSigNumerator;
    if (denominator) *denominator = processContext_.timeSigDenominator;
}

void IEffectVST3::SetLatency(int samples) {
    IEffectBase::SetLatency(samples);
    if (componentHandler) componentHandler->restartComponent(kLatencyChanged);
}

bool IEffectVST3::SendMidiMessage(const IMidiMessage&) {
    return false;
}

bool IEffectVST3::IsOfflineRender() const {
    return processSetup.processMode == kOffline;
}

int IEffectVST3::GetTransportState() const {
    if (processContext_.state & ProcessContext::kPlaying) return kTransportPlaying;
    if (processContext_.state & ProcessContext::kRecording) return kTransportRecording;
    return kTransportStopped;
}

void IEffectVST3::GetTransportInfo(ITransportInfo& info) const {
    info.tempo = processContext_.tempo;
    info.samplePosition = static_cast<double>(processContext_.projectTimeSamples);
    info.quarterNotePosition = processContext_.projectTimeMusic;
    info.lastBarStart = processContext_.barPositionMusic;
    info.cycleStart = processContext_.cycleStartMusic;
    info.cycleEnd = processContext_.cycleEndMusic;
    info.numerator = processContext_.timeSigNumerator;
    info.denominator = processContext_.timeSigDenominator;
    info.running = (processContext_.state & ProcessContext::kPlaying) != 0;
    info.cycleActive = (processContext_.state & ProcessContext::kCycleActive) != 0;
}
