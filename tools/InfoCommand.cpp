#include "tools/InfoCommand.h"
#include "tools/BundleLocation.h"

namespace serivane::tools {

int runInfo(const InfoOptions& options, const Console& console) {
    std::string bundle = options.bundle.empty() ? defaultBundlePath() : options.bundle;
    std::string error;
    std::shared_ptr<host::Module> module = host::Module::load(bundle, error);
    std::unique_ptr<host::Plugin> plugin = module ? host::Plugin::create(module, error) : nullptr;
    if (!plugin) {
        console.err << "serivane: " << error << '\n';
        return exitFailure;
    }
    PluginReport report = collectReport(*plugin, module->libraryPath());
    console.out << (options.json ? infoJson(report) : infoText(report));
    return exitOk;
}

} // namespace serivane::tools
