#include "tools/report/BeatSetting.h"

#include <cmath>

namespace serivane::tools {

namespace {

const host::ParameterDescription* titled(const std::vector<host::ParameterDescription>& all,
                                         const std::string& title) {
    for (const host::ParameterDescription& p : all) {
        if (p.title == title) return &p;
    }
    return nullptr;
}

} // namespace

BeatSetting readBeatSetting(const host::Plugin& plugin) {
    std::vector<host::ParameterDescription> parameters = plugin.parameters();
    const host::ParameterDescription* beat = titled(parameters, "Binaural");
    const host::ParameterDescription* pan = titled(parameters, "Binaural Pan");
    if (beat == nullptr) return {};
    std::string side = "right";
    if (pan != nullptr) {
        std::string text =
            plugin.displayText(pan->id, plugin.normalizedValue(pan->id)).value_or("");
        if (text == "Null") return {};
        if (text == "Left") side = "left";
    }
    double hertz = plugin.toPlain(beat->id, plugin.normalizedValue(beat->id));
    return {std::round(hertz * 100.0) / 100.0, side};
}

std::string bandName(double hertz) {
    if (hertz > 0.0 && hertz < 0.5) return "epsilon";
    if (hertz < 4.0) return "delta";
    if (hertz < 8.0) return "theta";
    if (hertz < 14.0) return "alpha";
    if (hertz < 30.0) return "beta";
    if (hertz < 100.0) return "gamma";
    return "lambda";
}

} // namespace serivane::tools
