#include "tools/PlayCommand.h"
#include "tools/BeatSetting.h"
#include "tools/BundleLocation.h"
#include "tools/CarrierMeter.h"
#include "tools/InfoReport.h"
#include "tools/Interruption.h"
#include "tools/LevelMeter.h"
#include "tools/LiveLine.h"
#include "tools/NumberText.h"
#include "tools/Playback.h"
#include "tools/PluginSettings.h"
#include "tools/PresetChoice.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <sys/ioctl.h>
#include <thread>
#include <unistd.h>

namespace serivane::tools {

namespace {

// How often the main thread looks for a signal, and how often it redraws the live line.
constexpr auto tick = std::chrono::milliseconds(50);
constexpr int ticksPerLine = 5;

// The width of the terminal the live line goes to; 0 when unknown.
std::size_t terminalColumns() {
    winsize size{};
    return ioctl(STDERR_FILENO, TIOCGWINSZ, &size) == 0 ? size.ws_col : 0;
}

// The chosen preset's name, and how many settings were applied over it.
std::string soundName(const host::Plugin& plugin, const PlayOptions& options) {
    std::string name = "default settings";
    if (!options.preset.empty()) {
        std::vector<std::string> names = rootPrograms(plugin).programs;
        std::string ignored;
        std::optional<std::size_t> slot = choosePreset(names, options.preset, ignored);
        name = slot && *slot < names.size() ? names[*slot] : options.preset;
    }
    std::size_t count = options.settings.size();
    if (count > 0) name += " + " + std::to_string(count) + (count == 1 ? " setting" : " settings");
    return name;
}

std::string deviceText(const OutputDevice& device) {
    return "\"" + device.name + "\" (" + device.hostApi + ", " +
           significant(device.sampleRate, 10) + " Hz)";
}

// Watches the playback until it has played its length, a signal came or the device stopped,
// redrawing the live line; answers the highest level played.
double watch(Playback& playback, const InterruptionGuard& interruption, LiveStatus status,
             const Console& console) {
    StreamRenderer& renderer = playback.renderer();
    CarrierMeter carrier(renderer.sampleRate());
    LiveLine line(console.err, console.errIsTerminal, terminalColumns());
    double loudest = 0.0;
    double recentPeak = 0.0;
    for (int ticks = 1; !renderer.finished() && playback.flowing(); ++ticks) {
        if (interruption.caught() != 0) renderer.requestStop();
        std::this_thread::sleep_for(tick);
        recentPeak = std::max<double>(recentPeak, renderer.takePeak());
        if (ticks % ticksPerLine != 0) continue;
        status.elapsed = static_cast<double>(renderer.framesPlayed()) / renderer.sampleRate();
        status.carrier = carrier.measure(renderer.recent(), status.beat.value_or(0.0));
        status.peak = recentPeak;
        line.show(liveLineText(status));
        loudest = std::max(loudest, recentPeak);
        recentPeak = 0.0;
    }
    line.finish();
    return std::max({loudest, recentPeak, static_cast<double>(renderer.takePeak())});
}

bool play(const PlayOptions& options, const InterruptionGuard& interruption, const Console& console,
          std::string& error) {
    Playback playback;
    if (!playback.openDevice(options.device, error)) return false;
    std::string bundle = options.bundle.empty() ? defaultBundlePath() : options.bundle;
    std::shared_ptr<host::Module> module = host::Module::load(bundle, error);
    std::unique_ptr<host::Plugin> plugin = module ? host::Plugin::create(module, error) : nullptr;
    if (!plugin) return false;
    host::ProcessDriver driver(*plugin, playback.processConfig());
    if (driver.outputChannelCount() == 0) {
        error = "\"" + plugin->classDescription().name + "\" has no audio outputs";
        return false;
    }
    if (!driver.start(error)) return false;
    driver.transport().setPlaying(true);
    if (!applyPresetAndSettings(*plugin, driver, options.preset, options.settings, error))
        return false;
    BeatSetting beat = readBeatSetting(*plugin);
    LiveStatus status{0.0,        options.seconds, soundName(*plugin, options),
                      beat.hertz, beat.higherEar,  std::nullopt,
                      0.0};
    double rate = playback.device().sampleRate;
    auto length = static_cast<std::int64_t>(std::llround(options.seconds * rate));
    if (!playback.start(driver, options.seconds > 0.0 ? std::max<std::int64_t>(length, 1) : 0,
                        error))
        return false;
    console.out << "Playing " << status.preset << " on " << deviceText(playback.device())
                << (options.seconds > 0.0 ? "" : "; Ctrl-C stops") << ".\n"
                << std::flush;
    double peak = watch(playback, interruption, status, console);
    double played = static_cast<double>(playback.renderer().framesPlayed()) / rate;
    if (!playback.stop(error)) return false;
    console.out << "Played " << significant(played, 6) << " s: peak " << decibelText(peak)
                << " dBFS\n";
    return true;
}

} // namespace

std::string_view PlayCommand::usage() const {
    return R"(Usage: serivane play [OPTIONS]

Plays the instrument live on a sound device (ALSA, PulseAudio/PipeWire or
JACK, through PortAudio) at the device's sample rate, with the transport
running. On a terminal a live line shows the time played, the preset, the
beat and the carrier sounding now and the peak level. Ctrl-C, or the end of
--seconds, stops it with a short fade-out. Use headphones: a binaural beat
is heard only when each ear gets its own channel.

Options:
  --preset NAME|SLOT     start from a factory preset, by slot number, by name
                         or by a part of the name that fits one preset only
  --set "NAME=VALUE"     set a parameter, in its own units or by its display
                         text; repeatable, applied after the preset
  --seconds S            stop after S seconds (default: play until Ctrl-C)
  --device NAME|NUMBER   the output device, by its number or name as listed
                         by "serivane devices", or a unique part of the name
                         (default: the system's default output)
  --bundle PATH          the .vst3 bundle folder or the library inside it
  -h, --help             show this help
)";
}

void PlayCommand::define(CLI::App& app) {
    addBundle(app, options_.bundle);
    addPreset(app, options_.preset);
    addSettings(app, options_.settings);
    addSeconds(app, options_.seconds);
    addText(app, "--device", options_.device);
}

int PlayCommand::run(const Console& console) {
    const PlayOptions& options = options_;
    InterruptionGuard interruption;
    std::string error;
    int code = exitOk;
    if (!play(options, interruption, console, error)) {
        console.err << "serivane: " << error << '\n';
        code = exitFailure;
    }
    // The plug-in is unloaded and the device closed: end as the signal asked.
    if (int signal = interruption.caught(); signal != 0) {
        console.out.flush();
        endBySignal(signal);
    }
    return code;
}

} // namespace serivane::tools
