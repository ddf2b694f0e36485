#include "tools/report/LiveLine.h"
#include "tools/report/BeatSetting.h"
#include "tools/report/NumberText.h"

#include <cmath>
#include <cstdio>
#include <string_view>

namespace serivane::tools {

namespace {

// Preset names run long; the line has to stay on one terminal row.
constexpr std::size_t presetWidth = 40;

std::string clock(double seconds) {
    auto tenths = static_cast<long long>(std::floor(std::max(seconds, 0.0) * 10.0));
    char text[32];
    std::snprintf(text, sizeof text, "%lld:%02lld.%lld", tenths / 600, tenths / 10 % 60,
                  tenths % 10);
    return text;
}

std::string fixed(double value, int decimals) {
    char text[48];
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    return text;
}

// The bytes of the first `count` UTF-8 characters of `text`, so that a cut never splits one.
std::size_t bytesOfCharacters(std::string_view text, std::size_t count) {
    std::size_t at = 0;
    for (std::size_t characters = 0; at < text.size(); ++at) {
        bool starts = (static_cast<unsigned char>(text[at]) & 0xC0) != 0x80;
        if (starts && characters++ == count) break;
    }
    return at;
}

} // namespace

std::string liveLineText(const LiveStatus& status) {
    std::string line = clock(status.elapsed);
    if (status.length > 0.0) line += " / " + clock(status.length);
    std::string preset = status.preset;
    if (preset.size() > presetWidth) preset = preset.substr(0, presetWidth - 3) + "...";
    line += "  " + (status.program.empty() ? preset : status.program);
    if (status.beat) {
        line += "  beat " + fixed(*status.beat, 2) + " Hz " + bandName(*status.beat);
        if (status.higherEar == "left") line += " (left higher)";
    } else {
        line += "  no beat";
    }
    line += "  carrier " + (status.carrier ? fixed(*status.carrier, 1) + " Hz" : std::string("-"));
    line += "  peak " + decibelText(status.peak) + " dBFS";
    return line;
}

void LiveLine::show(const std::string& text) {
    if (!enabled_) return;
    std::string_view shown = text;
    if (columns_ > 1) shown = shown.substr(0, bytesOfCharacters(shown, columns_ - 1));
    out_ << '\r' << shown << "\033[K" << std::flush;
    shown_ = true;
}

void LiveLine::finish() {
    if (!shown_) return;
    out_ << "\r\033[K" << std::flush;
    shown_ = false;
}

} // namespace serivane::tools
