#include "host/Module.h"
#include "host/ElfCheck.h"

#include <dlfcn.h>
#include <filesystem>

namespace serivane::host {

namespace fs = std::filesystem;

namespace {

constexpr const char* architectureFolder = "x86_64-linux";

using EntryFunction = bool (*)(void*);
using FactoryFunction = Steinberg::IPluginFactory* (*)();

template <typename Function> Function findSymbol(void* handle, const char* name) {
    return reinterpret_cast<Function>(dlsym(handle, name));
}

} // namespace

std::string resolveLibraryPath(const std::string& path, std::string& error) {
    std::error_code ec;
    fs::path given(path);
    if (!fs::exists(given, ec)) {
        error = "no such file or folder: " + path;
        return {};
    }
    if (!fs::is_directory(given, ec)) return given.string();
    fs::path bundle = given.lexically_normal();
    if (!bundle.has_filename()) bundle = bundle.parent_path();
    fs::path library = bundle / "Contents" / architectureFolder / (bundle.stem().string() + ".so");
    if (bundle.extension() != ".vst3" || !fs::is_regular_file(library, ec)) {
        error = "not a VST3 bundle: " + path + " (a bundle is a NAME.vst3 folder holding " +
                "Contents/" + architectureFolder + "/NAME.so)";
        return {};
    }
    return library.string();
}

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

Module::Module(void* handle, std::string libraryPath, ExitFunction exit,
               Steinberg::IPtr<Steinberg::IPluginFactory> factory)
    : handle_(handle), libraryPath_(std::move(libraryPath)), exit_(exit),
      factory_(std::move(factory)) {}

Module::~Module() {
    factory_ = nullptr;
    exit_();
    dlclose(handle_);
}

} // namespace serivane::host
