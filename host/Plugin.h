#pragma once

#include "host/ComponentHandler.h"
#include "host/Descriptions.h"
#include "host/HostContext.h"
#include "host/Module.h"

#include "pluginterfaces/vst/ivstaudioprocessor.h"
#include "pluginterfaces/vst/ivstmessage.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace serivane::host {

// One instance of the first audio-module class of a module, initialised with our host context
// and component handler, and driven through the lifecycle a DAW uses.
class Plugin {
public:
    static std::unique_ptr<Plugin> create(std::shared_ptr<Module> module, std::string& error);

    ~Plugin();
    Plugin(const Plugin&) = delete;
    Plugin& operator=(const Plugin&) = delete;

    const ClassDescription& classDescription() const { return class_; }
    FactoryDescription factoryDescription() const;
    Steinberg::Vst::IComponent* component() const { return component_.get(); }
    Steinberg::Vst::IAudioProcessor* processor() const { return processor_.get(); }
    Steinberg::Vst::IEditController* controller() const { return controller_.get(); }
    bool hasSeparateController() const { return separateController_; }
    ComponentHandler& handler() const { return *handler_; }
    HostContext& context() const { return *context_; }

    std::vector<BusDescription> buses(Steinberg::Vst::MediaType type,
                                      Steinberg::Vst::BusDirection direction) const;
    std::vector<ParameterDescription> parameters() const;
    std::optional<ParameterDescription> programChangeParameter() const;
    std::vector<UnitDescription> units() const;
    std::vector<ProgramListDescription> programLists() const;

    std::optional<std::string> displayText(Steinberg::Vst::ParamID id,
                                           Steinberg::Vst::ParamValue normalized) const;
    Steinberg::Vst::ParamValue toPlain(Steinberg::Vst::ParamID id,
                                       Steinberg::Vst::ParamValue normalized) const;
    Steinberg::Vst::ParamValue toNormalized(Steinberg::Vst::ParamID id,
                                            Steinberg::Vst::ParamValue plain) const;
    Steinberg::Vst::ParamValue normalizedValue(Steinberg::Vst::ParamID id) const;

    // The component's state; a separate controller is brought in line after a load.
    bool saveState(std::vector<char>& state, std::string& error) const;
    bool loadState(const std::vector<char>& state, std::string& error);

    // setupProcessing, every bus active, setActive and setProcessing; undone by stopProcessing
    // and by the destructor.
    bool startProcessing(const Steinberg::Vst::ProcessSetup& setup, std::string& error);
    void stopProcessing();
    bool isProcessing() const { return processing_; }

private:
    Plugin() = default;

    bool instantiate(std::string& error);
    bool attachController(std::string& error);
    bool connectParts(std::string& error);
    bool activateBuses(std::string& error);

    // Declared first so that the library is unloaded after every interface is released.
    std::shared_ptr<Module> module_;
    std::unique_ptr<HostContext> context_; // the SDK's host application counts no references
    Steinberg::IPtr<ComponentHandler> handler_;
    ClassDescription class_;
    Steinberg::IPtr<Steinberg::Vst::IComponent> component_;
    Steinberg::IPtr<Steinberg::Vst::IAudioProcessor> processor_;
    Steinberg::IPtr<Steinberg::Vst::IEditController> controller_;
    Steinberg::IPtr<Steinberg::Vst::IConnectionPoint> componentPoint_;
    Steinberg::IPtr<Steinberg::Vst::IConnectionPoint> controllerPoint_;
    bool componentInitialized_ = false;
    bool controllerInitialized_ = false;
    bool separateController_ = false;
    bool active_ = false;
    bool processing_ = false;
};

// The vendor, address and flags a factory reports.
FactoryDescription describeFactory(Steinberg::IPluginFactory* factory);

// The identity of every class a factory offers.
std::vector<ClassDescription> describeClasses(Steinberg::IPluginFactory* factory);

} // namespace serivane::host
