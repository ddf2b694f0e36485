#include "tools/plugin/PluginSettings.h"
#include "tools/plugin/RenderSettings.h"

namespace serivane::tools {

bool applyPresetAndSettings(const host::Plugin& plugin, host::ProcessDriver& driver,
                            const std::vector<std::string>& presets,
                            const std::vector<std::pair<std::string, std::string>>& settings,
                            std::string& error) {
    for (const std::string& preset : presets) {
        ParameterSetting program;
        if (!resolvePreset(plugin, preset, program, error)) return false;
        driver.parameterChanges().add(program.id, program.normalized);
        if (!driver.flush()) {
            error = "the plug-in failed to load the preset";
            return false;
        }
    }
    for (const auto& [name, value] : settings) {
        ParameterSetting setting;
        if (!resolveSetting(plugin, name, value, setting, error)) return false;
        if (!driver.parameterChanges().add(setting.id, setting.normalized)) {
            error = "too many parameter settings";
            return false;
        }
    }
    if (!driver.flush()) {
        error = "the plug-in failed to take the settings";
        return false;
    }
    return true;
}

} // namespace serivane::tools
