#include "host/Plugin.h"

#include "public.sdk/source/common/memorystream.h"

#include <algorithm>

namespace serivane::host {

using namespace Steinberg;

namespace {

template <typename Interface> IPtr<Interface> createFrom(IPluginFactory* factory, const TUID cid) {
    Interface* created = nullptr;
    if (factory->createInstance(cid, Interface::iid, reinterpret_cast<void**>(&created)) !=
        kResultOk)
        return nullptr;
    return owned(created);
}

bool acceptable(tresult result) {
    return result == kResultOk || result == kNotImplemented;
}

} // namespace

std::unique_ptr<Plugin> Plugin::create(std::shared_ptr<Module> module, std::string& error) {
    std::unique_ptr<Plugin> plugin(new Plugin());
    plugin->module_ = std::move(module);
    plugin->context_ = std::make_unique<HostContext>();
    plugin->handler_ = owned(new ComponentHandler());
    if (!plugin->instantiate(error) || !plugin->attachController(error) ||
        !plugin->connectParts(error))
        return nullptr;
    return plugin;
}

bool Plugin::instantiate(std::string& error) {
    std::vector<ClassDescription> classes = describeClasses(module_->factory());
    auto found = std::find_if(classes.begin(), classes.end(), [](const ClassDescription& c) {
        return c.category == kVstAudioEffectClass;
    });
    if (found == classes.end()) {
        error = "no audio module class in " + module_->libraryPath();
        return false;
    }
    class_ = *found;
    component_ = createFrom<Vst::IComponent>(module_->factory(), class_.cid);
    if (!component_) {
        error = "the factory could not create \"" + class_.name + "\"";
        return false;
    }
    if (component_->initialize(context_.get()) != kResultOk) {
        error = "\"" + class_.name + "\" failed to initialize";
        return false;
    }
    componentInitialized_ = true;
    processor_ = FUnknownPtr<Vst::IAudioProcessor>(component_);
    if (!processor_) {
        error = "\"" + class_.name + "\" has no audio processor";
        return false;
    }
    return true;
}

bool Plugin::attachController(std::string& error) {
    controller_ = FUnknownPtr<Vst::IEditController>(component_);
    if (!controller_) {
        TUID controllerId{};
        if (component_->getControllerClassId(controllerId) == kResultOk)
            controller_ = createFrom<Vst::IEditController>(module_->factory(), controllerId);
        if (!controller_) {
            error = "\"" + class_.name + "\" has no edit controller";
            return false;
        }
        separateController_ = true;
        if (controller_->initialize(context_.get()) != kResultOk) {
            error = "the edit controller of \"" + class_.name + "\" failed to initialize";
            return false;
        }
        controllerInitialized_ = true;
    }
    if (controller_->setComponentHandler(handler_) != kResultOk) {
        error = "the edit controller of \"" + class_.name + "\" refused the component handler";
        return false;
    }
    return true;
}

// A separate controller talks to its component through connection points and starts from
// the component's state.
bool Plugin::connectParts(std::string& error) {
    if (!separateController_) return true;
    componentPoint_ = FUnknownPtr<Vst::IConnectionPoint>(component_);
    controllerPoint_ = FUnknownPtr<Vst::IConnectionPoint>(controller_);
    if (componentPoint_ && controllerPoint_ &&
        (componentPoint_->connect(controllerPoint_) != kResultOk ||
         controllerPoint_->connect(componentPoint_) != kResultOk)) {
        error = "the component and controller of \"" + class_.name + "\" did not connect";
        return false;
    }
    std::vector<char> state;
    return saveState(state, error) && loadState(state, error);
}

Plugin::~Plugin() {
    stopProcessing();
    if (componentPoint_ && controllerPoint_) {
        componentPoint_->disconnect(controllerPoint_);
        controllerPoint_->disconnect(componentPoint_);
    }
    if (controller_) controller_->setComponentHandler(nullptr);
    if (controllerInitialized_) controller_->terminate();
    if (componentInitialized_) component_->terminate();
    componentPoint_ = nullptr;
    controllerPoint_ = nullptr;
    controller_ = nullptr;
    processor_ = nullptr;
    component_ = nullptr;
}

bool Plugin::saveState(std::vector<char>& state, std::string& error) const {
    MemoryStream stream;
    if (component_->getState(&stream) != kResultOk) {
        error = "\"" + class_.name + "\" could not save its state";
        return false;
    }
    state.assign(stream.getData(), stream.getData() + stream.getSize());
    return true;
}

bool Plugin::loadState(const std::vector<char>& state, std::string& error) {
    std::vector<char> copy = state;
    MemoryStream stream(copy.data(), static_cast<TSize>(copy.size()));
    if (component_->setState(&stream) != kResultOk) {
        error = "\"" + class_.name + "\" refused the state";
        return false;
    }
    if (!separateController_) return true;
    stream.seek(0, IBStream::kIBSeekSet, nullptr);
    if (!acceptable(controller_->setComponentState(&stream))) {
        error = "the edit controller of \"" + class_.name + "\" refused the state";
        return false;
    }
    return true;
}

bool Plugin::startProcessing(const Vst::ProcessSetup& setup, std::string& error) {
    stopProcessing();
    if (processor_->canProcessSampleSize(setup.symbolicSampleSize) != kResultOk) {
        error = "\"" + class_.name + "\" cannot process " +
                (setup.symbolicSampleSize == Vst::kSample64 ? "64" : "32") + "-bit samples";
        return false;
    }
    if (processor_->setupProcessing(const_cast<Vst::ProcessSetup&>(setup)) != kResultOk) {
        error = "\"" + class_.name + "\" refused the processing setup";
        return false;
    }
    if (!activateBuses(error)) return false;
    if (component_->setActive(true) != kResultOk) {
        error = "\"" + class_.name + "\" could not be activated";
        return false;
    }
    active_ = true;
    if (!acceptable(processor_->setProcessing(true))) {
        error = "\"" + class_.name + "\" could not start processing";
        stopProcessing();
        return false;
    }
    processing_ = true;
    return true;
}

bool Plugin::activateBuses(std::string& error) {
    for (Vst::MediaType type : {Vst::kAudio, Vst::kEvent}) {
        for (Vst::BusDirection direction : {Vst::kInput, Vst::kOutput}) {
            int32 count = component_->getBusCount(type, direction);
            for (int32 index = 0; index < count; ++index) {
                if (component_->activateBus(type, direction, index, true) != kResultOk) {
                    error = "\"" + class_.name + "\" refused to activate a bus";
                    return false;
                }
            }
        }
    }
    return true;
}

void Plugin::stopProcessing() {
    if (processing_) processor_->setProcessing(false);
    processing_ = false;
    if (active_) component_->setActive(false);
    active_ = false;
}

} // namespace serivane::host
