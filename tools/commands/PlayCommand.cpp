#include "tools/commands/PlayCommand.h"
#include "tools/commands/Interruption.h"
#include "tools/commands/SessionStage.h"
#include "tools/plugin/BundleLocation.h"
#include "tools/plugin/InfoReport.h"
#include "tools/plugin/PluginSettings.h"
#include "tools/plugin/PresetChoice.h"
#include "tools/program/LiveProgram.h"
#include "tools/program/ProgramRender.h"
#include "tools/program/ProgramTime.h"
#include "tools/report/BeatSetting.h"
#include "tools/report/LiveLine.h"
#include "tools/report/NumberText.h"
#include "tools/sound/CarrierMeter.h"
#include "tools/sound/LevelMeter.h"
#include "tools/sound/Playback.h"
#include "tools/sound/SoundFileReader.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <filesystem>
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

// The chosen presets' names, and how many settings were applied over them.
std::string soundName(const host::Plugin& plugin, const PlayOptions& options) {
    std::string name;
    std::vector<std::string> names = rootPrograms(plugin).programs;
    for (const std::string& preset : options.presets) {
        std::string ignored;
        std::optional<std::size_t> slot = choosePreset(names, preset, ignored);
        name += name.empty() ? "" : " + ";
        name += slot && *slot < names.size() ? names[*slot] : preset;
    }
    if (name.empty()) name = "default settings";
    std::size_t count = options.settings.size();
    if (count > 0) name += " + " + std::to_string(count) + (count == 1 ? " setting" : " settings");
    return name;
}

std::string deviceText(const OutputDevice& device) {
    return "\"" + device.name + "\" (" + device.hostApi + ", " +
           significant(device.sampleRate, 10) + " Hz)";
}

// What the live line shows of a program at `seconds`: the step, the next change, the beat.
void followProgram(const LiveProgram& program, double seconds, LiveStatus& status) {
    status.program = program.guideText(seconds);
    std::optional<double> beat = program.beatAt(seconds);
    status.beat = beat ? std::optional<double>(std::fabs(*beat)) : std::nullopt;
    status.higherEar = beat && *beat < 0.0 ? "left" : "right";
}

// Watches the playback until it has played its length, a signal came or the device stopped,
// redrawing the live line; answers the highest level played. It learns where the playback is
// from the renderer's atomics only, and follows a program (when there is one) from its plan.
double watch(Playback& playback, const InterruptionGuard& interruption, LiveStatus status,
             const LiveProgram* program, const Console& console) {
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
        if (program != nullptr) followProgram(*program, status.elapsed, status);
        status.carrier = carrier.measure(renderer.recent(), status.beat.value_or(0.0));
        status.peak = recentPeak;
        line.show(liveLineText(status));
        loudest = std::max(loudest, recentPeak);
        recentPeak = 0.0;
    }
    line.finish();
    return std::max({loudest, recentPeak, static_cast<double>(renderer.takePeak())});
}

// Read before anything loads, so that a bad recording fails at once.
bool readMix(const PlayOptions& options, std::optional<SoundBuffer>& mix, std::string& error) {
    if (options.session.mix.empty()) return true;
    mix.emplace();
    if (readRecording(options.session.mix, *mix, error)) return true;
    error = "--mix: " + error;
    return false;
}

// The fades, the mix recording and the noise bed on the audio callback, when any is asked for.
void shapeSession(StreamRenderer& renderer, const PlayOptions& options,
                  std::optional<SoundBuffer>& mix, const Automation* automation,
                  std::int64_t lengthFrames) {
    if (!shapesSession(options.session, mix, automation)) return;
    renderer.shape(sessionStage(options.session, mix, automation,
                                static_cast<int>(std::lround(renderer.sampleRate())),
                                lengthFrames > 0 ? lengthFrames : SessionFades::openEnded));
}

// The program planned from the preset and settings, and its length unless --seconds gave one.
bool planProgram(const PlayOptions& options, const std::shared_ptr<host::Module>& module,
                 const host::Plugin& plugin, double rate, const InterruptionGuard& interruption,
                 LiveProgram& program, double& seconds, std::string& error) {
    StartSettings start;
    if (!resolveStart(plugin, options.presets, options.settings, start, error) ||
        !program.load(module, plugin, start, options.program, rate, error,
                      [&interruption] { return interruption.caught() != 0; }))
        return false;
    error = sessionStepsMisfit(options.session, program.automation());
    if (!error.empty()) return false;
    if (options.secondsGiven) return true;
    seconds = program.script().length();
    if (seconds > 0.0) return true;
    error = program.script().file() + ": the program lasts 0:00.0: expected an \"end\" step or "
                                      "--seconds";
    return false;
}

std::string programName(const LiveProgram& program, double seconds) {
    return "the program " + std::filesystem::path(program.script().file()).filename().string() +
           " (" + programClock(seconds) + ")";
}

bool play(const PlayOptions& options, const InterruptionGuard& interruption, const Console& console,
          std::string& error) {
    std::optional<SoundBuffer> mix;
    if (!readMix(options, mix, error)) return false;
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
    double rate = playback.device().sampleRate;
    double seconds = options.seconds;
    LiveProgram program;
    bool programmed = !options.program.empty();
    if (programmed
            ? !planProgram(options, module, *plugin, rate, interruption, program, seconds, error)
            : !applyPresetAndSettings(*plugin, driver, options.presets, options.settings, error))
        return false;
    if (programmed)
        console.err << programCutWarning(options.program, program.script().length(), seconds,
                                         "playback");
    if (seconds > 0.0) {
        error =
            fadesMisfit(options.session, seconds, static_cast<int>(std::lround(rate)), "playback");
        if (!error.empty()) return false;
    }
    BeatSetting beat = readBeatSetting(*plugin);
    LiveStatus status;
    status.length = seconds;
    status.preset = soundName(*plugin, options);
    status.beat = beat.hertz;
    status.higherEar = beat.higherEar;
    if (programmed) followProgram(program, 0.0, status);
    auto length = seconds > 0.0 ? std::max<std::int64_t>(std::llround(seconds * rate), 1) : 0;
    StreamRenderer& renderer = playback.prepare(driver, length);
    if (programmed) renderer.follow(program.automation());
    shapeSession(renderer, options, mix, programmed ? &program.automation() : nullptr, length);
    if (!playback.start(error)) return false;
    console.out << "Playing " << (programmed ? programName(program, seconds) : status.preset)
                << " on " << deviceText(playback.device())
                << (seconds > 0.0 ? "" : "; Ctrl-C stops") << ".\n"
                << std::flush;
    double peak = watch(playback, interruption, status, programmed ? &program : nullptr, console);
    double played = static_cast<double>(playback.renderer().framesPlayed()) / rate;
    if (!playback.stop(error)) return false;
    console.out << "Played " << durationText(played) << ": peak " << decibelText(peak) << " dBFS\n";
    return true;
}

} // namespace

std::string_view PlayCommand::usage() const {
    return R"(Usage: serivane play [OPTIONS]

Plays the instrument live on a sound device (ALSA, PulseAudio/PipeWire or
JACK, through PortAudio) at the device's sample rate, with the transport
running. On a terminal a live line shows the time played, the preset (with
--program the step and the next change), the beat and the carrier sounding
now and the peak level. Ctrl-C, or the end of --seconds, stops it with a
short fade-out. Use headphones: a binaural beat is heard only when each ear
gets its own channel.

Options:
  --preset NAME|SLOT     start from a factory preset, by slot number, by name
                         or by a part of the name that fits one preset only;
                         repeatable, applied in order (partial ones combine)
  --set "NAME=VALUE"     set a parameter, in its own units or by its display
                         text; repeatable, applied after the presets
  --program FILE|NAME    play a session program, a file or a built-in one
                         ("serivane programs" lists them); its steps follow
                         --preset and --set
  --seconds S            stop after S seconds (default: play until Ctrl-C;
                         with --program the program's length)
  --fade-in S            fade in over the first S seconds, equal power
  --fade-out S           fade out over the last S seconds; needs --seconds or
                         --program
  --mix FILE             lay a mono or stereo recording (WAV, FLAC, Ogg
                         Vorbis) under the tones, looped
  --mix-level DB         the recording's level, from -120 to 24 dB (default
                         -12)
  --noise white|pink|brown
                         lay a noise under the tones, its own in each ear
  --noise-level DB       the noise's RMS level, from -120 to 0 dB (default -20)
  --seed N               the noise generator's seed, 0 to 4294967295 (default
                         1)
  --device NAME|NUMBER   the output device, by its number or name as listed
                         by "serivane devices", or a unique part of the name
                         (default: the system's default output)
  --bundle PATH          the .vst3 bundle folder or the library inside it
  -h, --help             show this help
)";
}

int PlayCommand::run(const Console& console) {
    const PlayOptions& options = options_;
    InterruptionGuard interruption;
    std::string error;
    int code = exitOk;
    if (!play(options, interruption, console, error)) {
        // Work cut short by a signal has nothing to report: the tool ends as the signal asks.
        if (interruption.caught() == 0) console.err << "serivane: " << error << '\n';
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
