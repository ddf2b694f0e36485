#pragma once

#include "pluginterfaces/vst/ivstaudioprocessor.h"
#include "pluginterfaces/vst/ivstcomponent.h"
#include "public.sdk/source/vst/vstbus.h"
#include "public.sdk/source/vst/vsteditcontroller.h"

// IComponent and IEditController both declare setState/getState with one signature. These two
// layers give each side's calls a name of its own, so the component state and the controller
// state stay apart in one object.
class ControllerStateCalls : public Steinberg::Vst::EditController {
public:
    Steinberg::tresult PLUGIN_API setState(Steinberg::IBStream* state) final {
        return RestoreControllerState(state);
    }
    Steinberg::tresult PLUGIN_API getState(Steinberg::IBStream* state) final {
        return SaveControllerState(state);
    }

protected:
    virtual Steinberg::tresult RestoreControllerState(Steinberg::IBStream* state) = 0;
    virtual Steinberg::tresult SaveControllerState(Steinberg::IBStream* state) = 0;
};

class ComponentStateCalls : public Steinberg::Vst::IComponent {
public:
    Steinberg::tresult PLUGIN_API setState(Steinberg::IBStream* state) final {
        return RestoreComponentState(state);
    }
    Steinberg::tresult PLUGIN_API getState(Steinberg::IBStream* state) final {
        return SaveComponentState(state);
    }

protected:
    virtual Steinberg::tresult RestoreComponentState(Steinberg::IBStream* state) = 0;
    virtual Steinberg::tresult SaveComponentState(Steinberg::IBStream* state) = 0;
};

// Component, audio processor and edit controller in one object: the host reaches every part
// through queryInterface on any of them. Subclasses create the buses and parameters in
// initialize and implement the processing.
class SingleComponentEffect : public ControllerStateCalls,
                              public ComponentStateCalls,
                              public Steinberg::Vst::IAudioProcessor {
public:
    SingleComponentEffect();

    // IPluginBase
    Steinberg::tresult PLUGIN_API initialize(Steinberg::FUnknown* context) override;
    Steinberg::tresult PLUGIN_API terminate() override;

    // IComponent
    Steinberg::tresult PLUGIN_API getControllerClassId(Steinberg::TUID classId) override;
    Steinberg::tresult PLUGIN_API setIoMode(Steinberg::Vst::IoMode mode) override;
    Steinberg::int32 PLUGIN_API getBusCount(Steinberg::Vst::MediaType type,
                                            Steinberg::Vst::BusDirection dir) override;
    Steinberg::tresult PLUGIN_API getBusInfo(Steinberg::Vst::MediaType type,
                                             Steinberg::Vst::BusDirection dir,
                                             Steinberg::int32 index,
                                             Steinberg::Vst::BusInfo& info) override;
    Steinberg::tresult PLUGIN_API getRoutingInfo(Steinberg::Vst::RoutingInfo& inInfo,
                                                 Steinberg::Vst::RoutingInfo& outInfo) override;
    Steinberg::tresult PLUGIN_API activateBus(Steinberg::Vst::MediaType type,
                                              Steinberg::Vst::BusDirection dir,
                                              Steinberg::int32 index,
                                              Steinberg::TBool state) override;
    Steinberg::tresult PLUGIN_API setActive(Steinberg::TBool state) override;

    // IAudioProcessor
    Steinberg::tresult PLUGIN_API
    getBusArrangement(Steinberg::Vst::BusDirection dir, Steinberg::int32 index,
                      Steinberg::Vst::SpeakerArrangement& arr) override;
    Steinberg::tresult PLUGIN_API setProcessing(Steinberg::TBool state) override;

    // IEditController: the container throws on an index it does not hold, hosts must not see that
    Steinberg::tresult PLUGIN_API getParameterInfo(Steinberg::int32 paramIndex,
                                                   Steinberg::Vst::ParameterInfo& info) override;

    OBJ_METHODS(SingleComponentEffect, Steinberg::Vst::EditController)
    Steinberg::tresult PLUGIN_API queryInterface(const Steinberg::TUID iid, void** obj) override;
    REFCOUNT_METHODS(Steinberg::Vst::EditController)

protected:
    Steinberg::Vst::AudioBus* AddAudioInput(const Steinberg::Vst::TChar* name,
                                            Steinberg::Vst::SpeakerArrangement arr,
                                            Steinberg::Vst::BusType type = Steinberg::Vst::kMain);
    Steinberg::Vst::AudioBus* AddAudioOutput(const Steinberg::Vst::TChar* name,
                                             Steinberg::Vst::SpeakerArrangement arr,
                                             Steinberg::Vst::BusType type = Steinberg::Vst::kMain);
    Steinberg::Vst::EventBus* AddEventInput(const Steinberg::Vst::TChar* name,
                                            Steinberg::int32 channels);
    Steinberg::Vst::BusList* BusListFor(Steinberg::Vst::MediaType type,
                                        Steinberg::Vst::BusDirection dir);
    void RemoveAllBusses();

    Steinberg::Vst::BusList audioInputs;
    Steinberg::Vst::BusList audioOutputs;
    Steinberg::Vst::BusList eventInputs;
    Steinberg::Vst::BusList eventOutputs;
    Steinberg::Vst::ProcessSetup processSetup{};
};
