#include "host/Module.h"
#include "host/ModuleLoader.h"
#include "platform/win32/WideText.h"

#include <windows.h>

namespace serivane::host {

const char* const architectureFolder = "x86_64-win";
const char* const libraryExtension = ".vst3";

namespace {

using EntryFunction = bool (*)();
using FactoryFunction = Steinberg::IPluginFactory* (*)();

template <typename Function> Function findSymbol(HMODULE handle, const char* name) {
    return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(handle, name)));
}

std::string systemMessage(DWORD code) {
    char* text = nullptr;
    DWORD length = FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                      FORMAT_MESSAGE_IGNORE_INSERTS,
                                  nullptr, code, 0, reinterpret_cast<char*>(&text), 0, nullptr);
    std::string message = length ? std::string(text, length) : "error " + std::to_string(code);
    LocalFree(text);
    while (!message.empty() && (message.back() == '\n' || message.back() == '\r'))
        message.pop_back();
    return message;
}

} // namespace

std::shared_ptr<Module> Module::load(const std::string& path, std::string& error) {
    std::string library = resolveLibraryPath(path, error);
    if (library.empty()) return nullptr;
    // Dependencies are searched beside the library, never in the current folder first.
    HMODULE handle =
        LoadLibraryExW(Widened(library).c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
    if (handle == nullptr) {
        error = "cannot load " + library + ": " + systemMessage(GetLastError());
        return nullptr;
    }
    auto entry = findSymbol<EntryFunction>(handle, "InitDll");
    auto exit = findSymbol<ExitFunction>(handle, "ExitDll");
    auto getFactory = findSymbol<FactoryFunction>(handle, "GetPluginFactory");
    if (entry == nullptr || exit == nullptr || getFactory == nullptr) {
        error = "not a VST3 module: " + library +
                " does not export InitDll, ExitDll and GetPluginFactory";
        FreeLibrary(handle);
        return nullptr;
    }
    if (!entry()) {
        error = "InitDll of " + library + " failed";
        FreeLibrary(handle);
        return nullptr;
    }
    Steinberg::IPtr<Steinberg::IPluginFactory> factory(getFactory(), false);
    if (!factory) {
        error = "GetPluginFactory of " + library + " returned no factory";
        exit();
        FreeLibrary(handle);
        return nullptr;
    }
    return std::shared_ptr<Module>(new Module(handle, library, exit, factory));
}

Module::~Module() {
    factory_ = nullptr;
    exit_();
    FreeLibrary(static_cast<HMODULE>(handle_));
}

} // namespace serivane::host
