#include "tools/Options.h"
#include "tools/commands/AnalyzeCommand.h"
#include "tools/report/NumberText.h"

#include <filesystem>
#include <optional>

namespace serivane::tools {

std::string_view AnalyzeCommand::usage() const {
    return R"(Usage: serivane analyze [OPTIONS] FILE.wav|.flac|.ogg|.opus|.mp3

Measures a mono or stereo sound file window by window and as a whole: each
ear's dominant frequency, the binaural beat (the mean rate over the window
at which the phase difference of the two ears turns; positive when the right
ear is higher, negative when the left is), its band as the instrument names
it, how steady it is (strength 0 to 1), and the level. Where there is no
binaural beat (a mono file, silence, the same frequencies in both ears,
samples that are not numbers) it says why.
Beats up to 2000 Hz are looked for; the file must last at least 0.25 s.

Options:
  --window S     length of a window in seconds, 0.25 to 3600 (default 5; for
                 files over 5 minutes up to 60, so that a file of up to an
                 hour has at most 60 windows); at most 2^22 frames (87 s at
                 48 kHz)
  --json         print one JSON object with "total" and "windows"
  --plot OUT.png draw the ears' frequencies, the beat over the band zones and
                 the level over time
  --program FILE|NAME
                 the session program the file was rendered from: each
                 window's planned beat (the plan's mean over it) beside the
                 measured one and how far off it is, the largest deviation
                 in the summary, and the planned beat in the plot
  --preset NAME|SLOT, --set "NAME=VALUE"
                 the start the program was rendered from, as render takes
                 them
  --bundle PATH  the .vst3 bundle that plans the program
  -h, --help     show this help
)";
}

void AnalyzeCommand::define(CLI::App& app) {
    addValue(app, "--window", [this](const std::string& text) {
        std::optional<double> seconds = parseNumber(text);
        if (!seconds || *seconds < minWindowSeconds || *seconds > maxWindowSeconds)
            throw UsageError("--window takes seconds from " + shortest(minWindowSeconds) + " to " +
                             shortest(maxWindowSeconds) + ", not \"" + text + "\"");
        options_.windowSeconds = *seconds;
    });
    addSwitch(app, "--json", options_.json);
    addValue(app, "--plot", [this](const std::string& text) {
        if (!equalsIgnoringCase(std::filesystem::path(text).extension().string(), ".png"))
            throw UsageError("--plot needs a file ending in .png, not \"" + text + "\"");
        options_.plot = text;
    });
    addText(app, "--program", options_.plan.program);
    addPresets(app, options_.plan.presets);
    addSettings(app, options_.plan.settings);
    addBundle(app, options_.plan.bundle);
    app.add_option("input", options_.input);
}

void AnalyzeCommand::check() {
    if (options_.input.empty())
        throw UsageError("analyze needs a sound file (.wav, .flac, .ogg, .opus or .mp3)");
    const PlanSource& plan = options_.plan;
    if (plan.program.empty() && (!plan.presets.empty() || !plan.settings.empty()))
        throw UsageError("--preset and --set give the start of a --program: give one");
}

std::string AnalyzeCommand::refuse(const std::string& word) const {
    if (word.size() > 1 && word.front() == '-') return "analyze does not take \"" + word + "\"";
    return "analyze takes one sound file, not both \"" + options_.input + "\" and \"" + word + "\"";
}

} // namespace serivane::tools
