#include "tools/plugin/PresetReport.h"
#include "tools/plugin/InfoReport.h"
#include "tools/plugin/RenderSettings.h"

#include "host/ProcessDriver.h"

#include <cmath>

namespace serivane::tools {

using namespace Steinberg;

namespace {

// Values closer than this count as the same.
constexpr double sameValue = 1e-9;

std::vector<host::ParameterDescription> ordinaryParameters(const host::Plugin& plugin) {
    std::vector<host::ParameterDescription> parameters = plugin.parameters();
    std::erase_if(parameters, [](const host::ParameterDescription& p) {
        return (p.flags & (Vst::ParameterInfo::kIsProgramChange | Vst::ParameterInfo::kIsReadOnly |
                           Vst::ParameterInfo::kIsBypass)) != 0;
    });
    return parameters;
}

// Every parameter at `baseline`, then the preset, each in a block of its own; answers the
// values the parameters have afterwards.
bool loadOver(host::Plugin& plugin, const std::vector<host::ParameterDescription>& parameters,
              const ParameterSetting& preset, double baseline, std::vector<double>& values,
              std::string& error) {
    host::ProcessDriver driver(plugin, {48000.0, 64, Vst::kSample32, Vst::kOffline});
    if (!driver.start(error)) return false;
    for (const host::ParameterDescription& p : parameters) {
        if (!driver.parameterChanges().add(p.id, baseline)) {
            error = "too many parameters to examine a preset";
            return false;
        }
    }
    const bool flushed = driver.flush();
    driver.parameterChanges().add(preset.id, preset.normalized);
    if (!flushed || !driver.flush()) {
        error = "the plug-in failed to load the preset";
        return false;
    }
    values.clear();
    for (const host::ParameterDescription& p : parameters)
        values.push_back(plugin.normalizedValue(p.id));
    return true;
}

} // namespace

bool examinePreset(host::Plugin& plugin, const std::string& choice, PresetReport& report,
                   std::string& error) {
    ParameterSetting preset;
    if (!resolvePreset(plugin, choice, preset, error)) return false;
    const std::vector<host::ParameterDescription> parameters = ordinaryParameters(plugin);
    // Named before loading: loading an empty slot names it anew.
    const std::vector<std::string> names = rootPrograms(plugin).programs;
    std::vector<double> overMinimum, overMaximum;
    if (!loadOver(plugin, parameters, preset, 0.0, overMinimum, error) ||
        !loadOver(plugin, parameters, preset, 1.0, overMaximum, error))
        return false;
    report = {};
    report.slot = std::llround(plugin.toPlain(preset.id, preset.normalized));
    if (report.slot >= 0 && static_cast<std::size_t>(report.slot) < names.size())
        report.name = names[static_cast<std::size_t>(report.slot)];
    for (std::size_t i = 0; i < parameters.size(); ++i) {
        const host::ParameterDescription& p = parameters[i];
        if (std::abs(overMinimum[i] - overMaximum[i]) > sameValue) {
            report.leavesAlone.push_back(p);
            continue;
        }
        report.sets.push_back({p, overMinimum[i], plugin.toPlain(p.id, overMinimum[i]),
                               plugin.displayText(p.id, overMinimum[i]).value_or("")});
    }
    return true;
}

} // namespace serivane::tools
