#include "tools/InfoCommand.h"
#include "tools/BundleLocation.h"
#include "tools/Options.h"

namespace serivane::tools {

std::string_view InfoCommand::usage() const {
    return R"(Usage: serivane info [--json] [--bundle PATH]

Shows the class identity, buses, parameters (id, title, unit, range, default,
steps, display of the default) and the program list of the plug-in.

Options:
  --json           print one JSON object with "class", "buses", "parameters"
                   and "programs"
  --bundle PATH    the .vst3 bundle folder or the library inside it
                   (default: ~/.vst3/Serivane.vst3 when installed, otherwise
                   the bundle of the build tree)
  -h, --help       show this help
)";
}

void InfoCommand::define(CLI::App& app) {
    addSwitch(app, "--json", options_.json);
    addBundle(app, options_.bundle);
}

int InfoCommand::run(const Console& console) {
    std::string bundle = options_.bundle.empty() ? defaultBundlePath() : options_.bundle;
    std::string error;
    std::shared_ptr<host::Module> module = host::Module::load(bundle, error);
    std::unique_ptr<host::Plugin> plugin = module ? host::Plugin::create(module, error) : nullptr;
    if (!plugin) {
        console.err << "serivane: " << error << '\n';
        return exitFailure;
    }
    PluginReport report = collectReport(*plugin, module->libraryPath());
    console.out << (options_.json ? infoJson(report) : infoText(report));
    return exitOk;
}

} // namespace serivane::tools
