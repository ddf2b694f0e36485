#include "vst3/SingleComponentEffect.h"

using namespace Steinberg;
using namespace Steinberg::Vst;

SingleComponentEffect::SingleComponentEffect()
    : audioInputs(kAudio, kInput), audioOutputs(kAudio, kOutput), eventInputs(kEvent, kInput),
      eventOutputs(kEvent, kOutput) {}

tresult PLUGIN_API SingleComponentEffect::initialize(FUnknown* context) {
    return EditController::initialize(context);
}

tresult PLUGIN_API SingleComponentEffect::terminate() {
    RemoveAllBusses();
    return EditController::terminate();
}

tresult PLUGIN_API SingleComponentEffect::getControllerClassId(TUID) {
    return kNotImplemented;
}

tresult PLUGIN_API SingleComponentEffect::setIoMode(IoMode) {
    return kNotImplemented;
}

int32 PLUGIN_API SingleComponentEffect::getBusCount(MediaType type, BusDirection dir) {
    BusList* list = BusListFor(type, dir);
    return list ? static_cast<int32>(list->size()) : 0;
}

tresult PLUGIN_API SingleComponentEffect::getBusInfo(MediaType type, BusDirection dir, int32 index,
                                                     BusInfo& info) {
    BusList* list = BusListFor(type, dir);
    if (!list || index < 0 || index >= static_cast<int32>(list->size())) return kInvalidArgument;
    info.mediaType = type;
    info.direction = dir;
    return list->at(index)->getInfo(info) ? kResultTrue : kResultFalse;
}

tresult PLUGIN_API SingleComponentEffect::getRoutingInfo(RoutingInfo&, RoutingInfo&) {
    return kNotImplemented;
}

tresult PLUGIN_API SingleComponentEffect::activateBus(MediaType type, BusDirection dir, int32 index,
                                                      TBool state) {
    BusList* list = BusListFor(type, dir);
    if (!list || index < 0 || index >= static_cast<int32>(list->size())) return kInvalidArgument;
    list->at(index)->setActive(state);
    return kResultTrue;
}

tresult PLUGIN_API SingleComponentEffect::setActive(TBool) {
    return kResultOk;
}

tresult PLUGIN_API SingleComponentEffect::getBusArrangement(BusDirection dir, int32 index,
                                                            SpeakerArrangement& arr) {
    BusList* list = BusListFor(kAudio, dir);
    if (!list || index < 0 || index >= static_cast<int32>(list->size())) return kInvalidArgument;
    arr = static_cast<AudioBus*>(list->at(index).get())->getArrangement();
    return kResultTrue;
}

tresult PLUGIN_API SingleComponentEffect::setProcessing(TBool) {
    return kNotImplemented;
}

tresult PLUGIN_API SingleComponentEffect::getParameterInfo(int32 paramIndex, ParameterInfo& info) {
    if (paramIndex < 0 || paramIndex >= parameters.getParameterCount()) return kResultFalse;
    return EditController::getParameterInfo(paramIndex, info);
}

tresult PLUGIN_API SingleComponentEffect::queryInterface(const TUID iid, void** obj) {
    QUERY_INTERFACE(iid, obj, IComponent::iid, IComponent)
    QUERY_INTERFACE(iid, obj, IAudioProcessor::iid, IAudioProcessor)
    QUERY_INTERFACE(iid, obj, IPluginBase::iid, IComponent)
    return EditController::queryInterface(iid, obj);
}

AudioBus* SingleComponentEffect::AddAudioInput(const TChar* name, SpeakerArrangement arr,
                                               BusType type) {
    auto* bus = new AudioBus(name, type, BusInfo::kDefaultActive, arr);
    audioInputs.push_back(IPtr<Bus>(bus, false));
    return bus;
}

AudioBus* SingleComponentEffect::AddAudioOutput(const TChar* name, SpeakerArrangement arr,
                                                BusType type) {
    auto* bus = new AudioBus(name, type, BusInfo::kDefaultActive, arr);
    audioOutputs.push_back(IPtr<Bus>(bus, false));
    return bus;
}

EventBus* SingleComponentEffect::AddEventInput(const TChar* name, int32 channels) {
    auto* bus = new EventBus(name, kMain, BusInfo::kDefaultActive, channels);
    eventInputs.push_back(IPtr<Bus>(bus, false));
    return bus;
}

BusList* SingleComponentEffect::BusListFor(MediaType type, BusDirection dir) {
    if (type == kAudio) return dir == kInput ? &audioInputs : &audioOutputs;
    if (type == kEvent) return dir == kInput ? &eventInputs : &eventOutputs;
    return nullptr;
}

void SingleComponentEffect::RemoveAllBusses() {
    audioInputs.clear();
    audioOutputs.clear();
    eventInputs.clear();
    eventOutputs.clear();
}
