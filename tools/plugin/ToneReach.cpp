#include "tools/plugin/ToneReach.h"

#include <algorithm>

namespace serivane::tools {

ToneReach::ToneReach(const host::Plugin& plugin) : plugin_(plugin) {
    for (const host::ParameterDescription& p : plugin.parameters()) {
        if (p.title == "Binaural") beat_ = p.id;
        if (p.title == "Low Freq") low_ = p.id;
        if (p.title == "High Freq") high_ = p.id;
        if (p.title == "Binaural Pan") pan_ = p.id;
    }
}

double ToneReach::plain(Steinberg::Vst::ParamID id) const {
    return plugin_.toPlain(id, plugin_.normalizedValue(id));
}

std::optional<double> ToneReach::highestHertz() const {
    if (!beat_ || !low_ || !high_ || !pan_) return std::nullopt;
    const std::string pan = plugin_.displayText(*pan_, plugin_.normalizedValue(*pan_)).value_or("");
    const double low = plain(*low_), high = plain(*high_);
    if (pan == "Null") return std::max(low, high);
    const double half = plain(*beat_) * 0.5;
    // Below half the beat, the lower ear is held at 5 Hz ("Right") or 1 Hz ("Left").
    const double held = 2.0 * half + (pan == "Left" ? 1.0 : 5.0);
    auto upperEar = [half, held](double carrier) { return carrier < half ? held : carrier + half; };
    return std::max(upperEar(low), upperEar(high));
}

} // namespace serivane::tools
