#pragma once

#include "pluginterfaces/base/ipluginbase.h"
#include "pluginterfaces/base/smartpointer.h"

#include <memory>
#include <string>

namespace serivane::host {

// A loaded VST3 module: the shared library of a bundle, entered through ModuleEntry and left
// through ModuleExit (InitDll and ExitDll on Windows), with its plug-in factory.
class Module {
public:
    // Loads a bundle folder (NAME.vst3) or the shared library inside it. On failure answers null
    // and fills `error` with a text naming the path and the cause.
    static std::shared_ptr<Module> load(const std::string& path, std::string& error);

    ~Module();
    Module(const Module&) = delete;
    Module& operator=(const Module&) = delete;

    Steinberg::IPluginFactory* factory() const { return factory_.get(); }
    const std::string& libraryPath() const { return libraryPath_; }

private:
    using ExitFunction = bool (*)();

    Module(void* handle, std::string libraryPath, ExitFunction exit,
           Steinberg::IPtr<Steinberg::IPluginFactory> factory);

    void* handle_;
    std::string libraryPath_;
    ExitFunction exit_;
    Steinberg::IPtr<Steinberg::IPluginFactory> factory_;
};

// The shared library a bundle path stands for, or an empty text (with `error` set) when the
// path is missing or is not laid out as a VST3 bundle.
std::string resolveLibraryPath(const std::string& path, std::string& error);

} // namespace serivane::host
