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
#include "tools/RenderSettings.h"

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
    ParameterSetting program;
    std::string ignored;
    if (!options.preset.empty() && resolvePreset(plugin, options.preset, program, ignored)) {
        std::optional<host::ParameterDescription> p = plugin.programChangeParameter();
        std::vector<std::string> names = rootPrograms(plugin).programs;
        auto slot = static_cast<std::size_t>(std::lround(program.normalized * p->stepCount));
        name = slot < names.size() ? names[slot] : options.preset;
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

int runPlay(const PlayOptions& options, const Console& console) {
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

int runDevices(const DevicesOptions&, const Console& console) {
    SoundSystem system;
    std::string error;
    if (!system.open(error)) {
        console.err << "serivane: " << error << '\n';
        return exitFailure;
    }
    std::vector<OutputDevice> devices = system.outputs();
    if (devices.empty()) {
        console.err << "serivane: " << noOutputDevice << '\n';
        return exitFailure;
    }
    std::size_t nameWidth = 0, numberWidth = 0;
    for (const OutputDevice& d : devices) {
        nameWidth = std::max(nameWidth, d.name.size());
        numberWidth = std::max(numberWidth, std::to_string(d.index).size());
    }
    console.out << "Output devices (* marks the default):\n";
    for (const OutputDevice& d : devices) {
        std::string name = d.name, number = std::to_string(d.index);
        name.resize(nameWidth, ' ');
        number.insert(0, numberWidth - number.size(), ' ');
        console.out << (d.isDefault ? " * " : "   ") << number << "  " << name << "  " << d.hostApi
                    << ", " << d.channels << (d.channels == 1 ? " channel" : " channels") << ", "
                    << significant(d.sampleRate, 10) << " Hz\n";
    }
    return exitOk;
}

} // namespace serivane::tools
