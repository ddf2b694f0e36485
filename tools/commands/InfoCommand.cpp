#include "tools/commands/InfoCommand.h"
#include "tools/Options.h"
#include "tools/plugin/BundleLocation.h"
#include "tools/plugin/PresetReport.h"

namespace serivane::tools {

std::string_view InfoCommand::usage() const {
    return R"(Usage: serivane info [--preset NAME|SLOT] [--json] [--bundle PATH]

Shows the class identity, buses, parameters (id, title, unit, range, default,
steps, display of the default), the texts of every choice parameter and the
program list of the plug-in.

Options:
  --preset NAME|SLOT
                   show instead what one factory preset sets, parameter by
                   parameter as the plug-in displays it, and which parameters
                   it leaves as they were (by slot number, by name, or by a
                   part of the name that fits one preset only)
  --json           print one JSON object: with "class", "buses",
                   "parameters" and "programs"; for a preset, with "slot",
                   "name", "sets" and "leavesAlone"
  --bundle PATH    the .vst3 bundle folder or the library inside it
                   (default: the first Serivane.vst3 in ~/.vst3,
                   /usr/lib/vst3 and /usr/local/lib/vst3, otherwise the
                   bundle of the build tree)
  -h, --help       show this help
)";
}

void InfoCommand::define(CLI::App& app) {
    addSwitch(app, "--json", options_.json);
    addBundle(app, options_.bundle);
    addPreset(app, options_.preset);
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
    if (options_.preset.empty()) {
        PluginReport report = collectReport(*plugin, module->libraryPath());
        report.bundle = bundle;
        console.out << (options_.json ? infoJson(report) : infoText(report));
        return exitOk;
    }
    PresetReport preset;
    if (!examinePreset(*plugin, options_.preset, preset, error)) {
        console.err << "serivane: " << error << '\n';
        return exitFailure;
    }
    console.out << (options_.json ? presetJson(preset) : presetText(preset));
    return exitOk;
}

} // namespace serivane::tools
