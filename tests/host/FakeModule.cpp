// A VST3 module with no plug-in classes. The test picks what its entry points do through
// fakeModuleSetMode and reads back how often ModuleExit ran.
#include "pluginterfaces/base/ipluginbase.h"

#include <cstring>

using namespace Steinberg;

namespace {

enum Mode { Working = 0, EntryFails = 1, NoFactory = 2 };

int mode = Working;
int exits = 0;

class EmptyFactory : public IPluginFactory {
public:
    tresult PLUGIN_API getFactoryInfo(PFactoryInfo* info) override {
        *info = PFactoryInfo("Fake Vendor", "", "", PFactoryInfo::kUnicode);
        return kResultOk;
    }
    int32 PLUGIN_API countClasses() override { return 0; }
    tresult PLUGIN_API getClassInfo(int32, PClassInfo*) override { return kInvalidArgument; }
    tresult PLUGIN_API createInstance(FIDString, FIDString, void** obj) override {
        *obj = nullptr;
        return kNotImplemented;
    }
    tresult PLUGIN_API queryInterface(const TUID iid, void** obj) override {
        if (FUnknownPrivate::iidEqual(iid, FUnknown::iid) ||
            FUnknownPrivate::iidEqual(iid, IPluginFactory::iid)) {
            addRef();
            *obj = this;
            return kResultOk;
        }
        *obj = nullptr;
        return kNoInterface;
    }
    uint32 PLUGIN_API addRef() override { return ++references; }
    uint32 PLUGIN_API release() override { return --references; }

    uint32 references = 0;
};

EmptyFactory factory;

} // namespace

extern "C" {

__attribute__((visibility("default"))) void fakeModuleSetMode(int newMode) {
    mode = newMode;
    exits = 0;
}
__attribute__((visibility("default"))) int fakeModuleExits() {
    return exits;
}
__attribute__((visibility("default"))) unsigned fakeModuleFactoryReferences() {
    return factory.references;
}

__attribute__((visibility("default"))) bool ModuleEntry(void*) {
    return mode != EntryFails;
}
__attribute__((visibility("default"))) bool ModuleExit() {
    ++exits;
    return true;
}
__attribute__((visibility("default"))) IPluginFactory* GetPluginFactory() {
    if (mode == NoFactory) return nullptr;
    factory.addRef();
    return &factory;
}
}
