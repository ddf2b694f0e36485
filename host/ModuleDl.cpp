#include "host/ElfCheck.h"
#include "host/Module.h"
#include "host/ModuleLoader.h"

#include <dlfcn.h>

namespace serivane::host {

const char* const architectureFolder = "x86_64-linux";
const char* const libraryExtension = ".so";

namespace {

using EntryFunction = bool (*)(void*);
using FactoryFunction = Steinberg::IPluginFactory* (*)();

template <typename Function> Function findSymbol(void* handle, const char* name) {
    return reinterpret_cast<Function>(dlsym(handle, name));
}

} // namespace

std::shared_ptr<Module> Module::load(const std::string& path, std::string& error) {
    std::string library = resolveLibraryPath(path, error);
    if (library.empty()) return nullptr;
    if (std::string cause; !checkElfFile(library, cause)) {
        error = "damaged bundle: " + library + " (" + cause + ")";
        return nullptr;
    }
    // The loader searches the library path for a name without a slash: keep it to this file.
    std::string file = library.find('/') == std::string::npos ? "./" + library : library;
    void* handle = dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle == nullptr) {
        const char* cause = dlerror();
        error = "cannot load " + library + ": " + (cause ? cause : "unknown error");
        return nullptr;
    }
    auto entry = findSymbol<EntryFunction>(handle, "ModuleEntry");
    auto exit = findSymbol<ExitFunction>(handle, "ModuleExit");
    auto getFactory = findSymbol<FactoryFunction>(handle, "GetPluginFactory");
    if (entry == nullptr || exit == nullptr || getFactory == nullptr) {
        error = "not a VST3 module: " + library +
                " does not export ModuleEntry, ModuleExit and GetPluginFactory";
        dlclose(handle);
        return nullptr;
    }
    if (!entry(handle)) {
        error = "ModuleEntry of " + library + " failed";
        dlclose(handle);
        return nullptr;
    }
    Steinberg::IPtr<Steinberg::IPluginFactory> factory(getFactory(), false);
    if (!factory) {
        error = "GetPluginFactory of " + library + " returned no factory";
        exit();
        dlclose(handle);
        return nullptr;
    }
    return std::shared_ptr<Module>(new Module(handle, library, exit, factory));
}

Module::~Module() {
    factory_ = nullptr;
    exit_();
    dlclose(handle_);
}

} // namespace serivane::host
