#include "host/Module.h"
#include "host/ModuleLoader.h"
#include "platform/Utf8Path.h"

#include <filesystem>

namespace serivane::host {

namespace fs = std::filesystem;

std::string resolveLibraryPath(const std::string& path, std::string& error) {
    std::error_code ec;
    fs::path given = Utf8Path(path);
    if (!fs::exists(given, ec)) {
        error = "no such file or folder: " + path;
        return {};
    }
    if (!fs::is_directory(given, ec)) return given.string();
    fs::path bundle = given.lexically_normal();
    if (!bundle.has_filename()) bundle = bundle.parent_path();
    fs::path library =
        bundle / "Contents" / architectureFolder / (bundle.stem().string() + libraryExtension);
    if (bundle.extension() != ".vst3" || !fs::is_regular_file(library, ec)) {
        error = "not a VST3 bundle: " + path + " (a bundle is a NAME.vst3 folder holding " +
                "Contents/" + architectureFolder + "/NAME" + libraryExtension + ")";
        return {};
    }
    return library.string();
}

Module::Module(void* handle, std::string libraryPath, ExitFunction exit,
               Steinberg::IPtr<Steinberg::IPluginFactory> factory)
    : handle_(handle), libraryPath_(std::move(libraryPath)), exit_(exit),
      factory_(std::move(factory)) {}

} // namespace serivane::host
