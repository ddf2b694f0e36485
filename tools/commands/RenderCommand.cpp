#include "tools/commands/RenderCommand.h"
#include "tools/commands/AnalyzeCommand.h"
#include "tools/commands/Interruption.h"
#include "tools/commands/SessionStage.h"
#include "tools/files/FileLinks.h"
#include "tools/plugin/BundleLocation.h"
#include "tools/plugin/RenderSettings.h"
#include "tools/plugin/ToneReach.h"
#include "tools/program/AutomationPlayer.h"
#include "tools/program/ProgramRender.h"
#include "tools/report/NumberText.h"
#include "tools/report/ProgressBar.h"
#include "tools/session/SessionShaping.h"
#include "tools/sound/BlockSink.h"
#include "tools/sound/LevelMeter.h"
#include "tools/sound/SoundFileReader.h"
#include "tools/sound/SoundFileWriter.h"

#include "host/ProcessDriver.h"

#include <chrono>
#include <cmath>
#include <optional>
#include <utility>

namespace serivane::tools {

using namespace Steinberg;

namespace {

// What one render needs once the plug-in is loaded and the options are resolved.
struct RenderJob {
    const RenderOptions& options;
    const InterruptionGuard& interruption;
    std::shared_ptr<host::Module> module;
    std::optional<Automation> automation;
    std::int64_t frames = 0;
    std::optional<SoundBuffer> mix; // the recording laid under the tones, once read
    double programSeconds = 0.0;    // the program's length; 0 without one
};

std::int64_t framesOf(double seconds, int sampleRate) {
    return std::llround(seconds * sampleRate);
}

bool resolve(const host::Plugin& plugin, RenderJob& job, std::string& error) {
    StartSettings start;
    if (!resolveStart(plugin, job.options.presets, job.options.settings, start, error))
        return false;
    double seconds = job.options.seconds;
    job.automation = planRender(job.module, start, job.options.program, job.options.sampleRate,
                                job.options.secondsGiven, seconds, job.programSeconds, error,
                                [&job] { return job.interruption.caught() != 0; });
    if (!job.automation) return false;
    error = fadesMisfit(job.options.session, seconds, job.options.sampleRate, "render");
    if (error.empty()) error = sessionStepsMisfit(job.options.session, *job.automation);
    if (!error.empty()) return false;
    job.frames = std::max<std::int64_t>(1, framesOf(seconds, job.options.sampleRate));
    return true;
}

// False once a signal asked the tool to stop; the render then ends and its partial file goes.
bool stillWanted(const RenderJob& job, std::string& error) {
    if (job.interruption.caught() == 0) return true;
    error = job.options.toStandardOutput
                ? "render interrupted: the stream on standard output ends short"
                : "render interrupted: nothing was written to " + job.options.output;
    return false;
}

// The highest tone the render sounds, looked at whenever a block changed a parameter.
struct ToneWatch {
    explicit ToneWatch(const host::Plugin& plugin) : reach(plugin) {}
    void look() {
        if (std::optional<double> hertz = reach.highestHertz()) highest = std::max(highest, *hertz);
    }

    ToneReach reach;
    double highest = 0.0;
};

template <typename Sample>
bool renderFrames(host::ProcessDriver& driver, const RenderJob& job, SessionShaping& shaping,
                  SoundFileWriter& writer, LevelMeter& meter, ProgressBar& progress,
                  ToneWatch& tones, std::string& error) {
    const auto started = std::chrono::steady_clock::now();
    auto channels = static_cast<std::size_t>(driver.outputChannelCount());
    auto block = static_cast<std::size_t>(driver.config().maxBlock);
    std::vector<std::vector<Sample>> planar(channels, std::vector<Sample>(block));
    std::vector<Sample*> pointers;
    for (std::vector<Sample>& channel : planar) pointers.push_back(channel.data());
    BlockSink<Sample> sink(writer, meter, job.options.format, static_cast<int>(channels),
                           static_cast<int>(block));
    AutomationPlayer automation(*job.automation);
    for (std::int64_t done = 0; done < job.frames;) {
        if (!stillWanted(job, error)) return false;
        auto limit = static_cast<int32>(std::min<std::int64_t>(block, job.frames - done));
        int32 frames = 0;
        const bool changes = done == 0 || automation.nextFrame() == done;
        if (!automation.prepare(driver, done, limit, frames)) {
            error = "the plug-in refused a parameter change";
            return false;
        }
        if (!driver.process(pointers.data(), frames)) {
            error = "the plug-in failed to process a block";
            return false;
        }
        if (changes) tones.look();
        shaping.process(pointers.data(), static_cast<int>(channels), frames);
        if (!sink.add(pointers.data(), frames, error)) return false;
        done += frames;
        if (progress.enabled()) {
            std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - started;
            progress.update(done, elapsed.count());
        }
    }
    return sink.finish(error);
}

std::string sessionText(const SessionOptions& o) {
    std::string text;
    if (o.fadeIn > 0.0 || o.fadeOut > 0.0)
        text +=
            ", fading " + durationText(o.fadeIn) + " in and " + durationText(o.fadeOut) + " out";
    if (!o.mix.empty())
        text +=
            ", " + o.mix + " mixed at " + decibelText(std::pow(10.0, o.mixLevel / 20.0)) + " dB";
    if (o.noise)
        text += ", " + std::string(noiseColourName(*o.noise)) + " noise at " +
                decibelText(std::pow(10.0, o.noiseLevel / 20.0)) + " dB (seed " +
                std::to_string(o.seed) + ")";
    return text;
}

std::string summary(const RenderJob& job, const LevelMeter& meter, int channels, double elapsed) {
    double seconds = static_cast<double>(job.frames) / job.options.sampleRate;
    char speed[32];
    std::snprintf(speed, sizeof speed, "%.1f", seconds / std::max(elapsed, 1e-9));
    const RenderOptions& o = job.options;
    const std::string coding = isLossy(o.fileType) ? std::string(fileTypeName(o.fileType)) +
                                                         " at quality " + significant(o.quality, 3)
                                                   : formatName(o.format);
    return "Rendered " + durationText(seconds) + " to " +
           (o.toStandardOutput ? "standard output" : o.output) + " (" +
           std::to_string(o.sampleRate) + " Hz, " + std::to_string(channels) + " channels, " +
           coding + sessionText(o.session) + "): peak " + decibelText(meter.peak()) +
           " dBFS, RMS " + decibelText(meter.rms()) + " dBFS, took " + durationText(elapsed) +
           " (" + speed + "x real time)\n";
}

// Checked before anything is read: an output that is one of the inputs, by any path or link,
// would replace it.
bool outputsSpareInputs(const RenderOptions& o, std::string& error) {
    const std::pair<const std::string&, const char*> inputs[] = {
        {o.session.mix, "the --mix recording"}, {o.program, "the --program file"}};
    for (const std::string& output : {o.toStandardOutput ? std::string() : o.output, o.plot}) {
        for (auto [input, what] : inputs) {
            if (output.empty() || input.empty() || !sameFile(output, input)) continue;
            error = "cannot write " + output + ": it is " + what + " " + input +
                    "; choose another output file";
            return false;
        }
    }
    return true;
}

// Read before the plug-in loads, so that a bad recording fails at once and writes nothing.
bool readMix(RenderJob& job, std::string& error) {
    if (job.options.session.mix.empty()) return true;
    job.mix.emplace();
    if (readRecording(job.options.session.mix, *job.mix, error)) return true;
    error = "--mix: " + error;
    return false;
}

// Listeners set the mix level, so a render that goes over full scale is theirs to judge:
// reported, not limited.
std::string clippingWarning(const RenderJob& job, const LevelMeter& meter) {
    std::string text = "serivane: warning: the render peaks at +" + decibelText(meter.peak()) +
                       " dBFS, above full scale";
    const bool clipped =
        !isLossy(job.options.fileType) && job.options.format != SampleFormat::Float;
    text += clipped ? ", and is clipped in the file" : ", and will clip when played";
    if (job.mix) text += "; a lower --mix-level leaves room";
    if (job.options.session.noise) text += "; a lower --noise-level leaves room";
    return text + "\n";
}

std::string aliasingWarning(const RenderOptions& o, double highest) {
    return "serivane: warning: tones reach " + significant(highest, 6) +
           " Hz, above half the sample rate (" + significant(o.sampleRate / 2.0, 6) +
           " Hz), and fold back to lower frequencies (aliasing); a higher --sample-rate or a "
           "lower \"High Freq\" keeps them\n";
}

bool render(host::Plugin& plugin, RenderJob& job, const Console& console, std::string& error) {
    const RenderOptions& o = job.options;
    if (!resolve(plugin, job, error)) {
        // A plan cut short by a signal is reported as the interrupted render it is.
        stillWanted(job, error);
        return false;
    }
    if (o.secondsGiven)
        console.err << programCutWarning(o.program, job.programSeconds, o.seconds, "render");
    host::ProcessDriver driver(plugin, {static_cast<double>(o.sampleRate), o.block,
                                        o.precision == 64 ? Vst::kSample64 : Vst::kSample32,
                                        Vst::kOffline});
    if (driver.outputChannelCount() == 0) {
        error = "\"" + plugin.classDescription().name + "\" has no audio outputs";
        return false;
    }
    if (!driver.start(error)) return false;
    SoundFileWriter writer;
    const int channels = driver.outputChannelCount();
    if (!(o.toStandardOutput
              ? writer.openStream(console.out, o.format, o.sampleRate, channels, job.frames, error)
              : writer.open(o.output, o.fileType, o.format, o.sampleRate, channels, job.frames,
                            error, o.quality)))
        return false;
    driver.transport().setPlaying(true);
    // The stage keeps its own copy of the recording, so the one read from the file goes.
    SessionShaping shaping =
        sessionStage(o.session, job.mix, &*job.automation, o.sampleRate, job.frames);
    LevelMeter meter;
    ProgressBar progress(console.err, console.errIsTerminal, job.frames);
    ToneWatch tones(plugin);
    auto started = std::chrono::steady_clock::now();
    bool rendered =
        o.precision == 64
            ? renderFrames<double>(driver, job, shaping, writer, meter, progress, tones, error)
            : renderFrames<float>(driver, job, shaping, writer, meter, progress, tones, error);
    progress.finish();
    if (!rendered || !stillWanted(job, error) || !writer.commit(error)) return false;
    std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - started;
    // The sound itself goes to standard output when it streams there.
    (o.toStandardOutput ? console.err : console.out)
        << summary(job, meter, channels, elapsed.count());
    if (meter.peak() > 1.0) console.err << clippingWarning(job, meter);
    if (tones.highest > o.sampleRate / 2.0) console.err << aliasingWarning(o, tones.highest);
    return true;
}

int loadAndRender(const RenderOptions& options, const InterruptionGuard& interruption,
                  const Console& console) {
    std::string error;
    RenderJob job{options, interruption, nullptr, std::nullopt, 0, std::nullopt, 0.0};
    if (!outputsSpareInputs(options, error) || !readMix(job, error)) {
        console.err << "serivane: " << error << '\n';
        return exitFailure;
    }
    std::string bundle = options.bundle.empty() ? defaultBundlePath() : options.bundle;
    std::shared_ptr<host::Module> module = host::Module::load(bundle, error);
    std::unique_ptr<host::Plugin> plugin = module ? host::Plugin::create(module, error) : nullptr;
    job.module = module;
    if (!plugin || !render(*plugin, job, console, error)) {
        console.err << "serivane: " << error << '\n';
        return exitFailure;
    }
    return exitOk;
}

} // namespace

int RenderCommand::run(const Console& console) {
    InterruptionGuard interruption;
    int code = loadAndRender(options_, interruption, console);
    if (code == exitOk && options_.analyze && interruption.caught() == 0)
        code = printRenderAnalysis(
            options_.output,
            {options_.program, options_.presets, options_.settings, options_.bundle}, options_.plot,
            [&interruption] { return interruption.caught() != 0; }, console);
    // Only now, with the plug-in unloaded and the partial file gone, end as the signal asked.
    if (int signal = interruption.caught(); signal != 0) {
        console.out.flush();
        endBySignal(signal);
    }
    return code;
}

} // namespace serivane::tools
