#include "tools/RenderCommand.h"
#include "tools/BlockSink.h"
#include "tools/BundleLocation.h"
#include "tools/Interruption.h"
#include "tools/LevelMeter.h"
#include "tools/NumberText.h"
#include "tools/ProgressBar.h"
#include "tools/RenderSettings.h"
#include "tools/SoundFileWriter.h"

#include "host/ProcessDriver.h"

#include <chrono>
#include <cmath>
#include <optional>

namespace serivane::tools {

using namespace Steinberg;

namespace {

// What one render needs once the plug-in is loaded and the options are resolved.
struct RenderJob {
    const RenderOptions& options;
    const InterruptionGuard& interruption;
    std::optional<ParameterSetting> preset;
    std::vector<ParameterSetting> overrides;
    std::int64_t frames = 0;
};

bool resolve(const host::Plugin& plugin, RenderJob& job, std::string& error) {
    if (!job.options.preset.empty()) {
        job.preset.emplace();
        if (!resolvePreset(plugin, job.options.preset, *job.preset, error)) return false;
    }
    for (const auto& [name, value] : job.options.settings) {
        job.overrides.emplace_back();
        if (!resolveSetting(plugin, name, value, job.overrides.back(), error)) return false;
    }
    double frames = std::round(job.options.seconds * job.options.sampleRate);
    job.frames = std::max<std::int64_t>(1, static_cast<std::int64_t>(frames));
    return true;
}

// False once a signal asked the tool to stop; the render then ends and its partial file goes.
bool stillWanted(const RenderJob& job, std::string& error) {
    if (job.interruption.caught() == 0) return true;
    error = "render interrupted: nothing was written to " + job.options.output;
    return false;
}

// The preset goes in a block of its own so that it is loaded before any override applies,
// whatever order a plug-in reads the changes of one block in.
bool queueSettings(host::ProcessDriver& driver, const RenderJob& job, std::string& error) {
    if (job.preset) {
        driver.parameterChanges().add(job.preset->id, job.preset->normalized);
        if (!driver.flush()) {
            error = "the plug-in failed to load the preset";
            return false;
        }
    }
    for (const ParameterSetting& s : job.overrides) {
        if (!driver.parameterChanges().add(s.id, s.normalized)) {
            error = "too many parameter settings";
            return false;
        }
    }
    return true;
}

template <typename Sample>
bool renderFrames(host::ProcessDriver& driver, const RenderJob& job, SoundFileWriter& writer,
                  LevelMeter& meter, ProgressBar& progress, std::string& error) {
    const auto started = std::chrono::steady_clock::now();
    auto channels = static_cast<std::size_t>(driver.outputChannelCount());
    auto block = static_cast<std::size_t>(driver.config().maxBlock);
    std::vector<std::vector<Sample>> planar(channels, std::vector<Sample>(block));
    std::vector<Sample*> pointers;
    for (std::vector<Sample>& channel : planar) pointers.push_back(channel.data());
    BlockSink<Sample> sink(writer, meter, job.options.format, static_cast<int>(channels),
                           static_cast<int>(block));
    for (std::int64_t done = 0; done < job.frames;) {
        if (!stillWanted(job, error)) return false;
        auto frames = static_cast<int32>(std::min<std::int64_t>(block, job.frames - done));
        if (!driver.process(pointers.data(), frames)) {
            error = "the plug-in failed to process a block";
            return false;
        }
        if (!sink.add(pointers.data(), frames, error)) return false;
        done += frames;
        std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - started;
        progress.update(done, elapsed.count());
    }
    return sink.finish(error);
}

std::string summary(const RenderJob& job, const LevelMeter& meter, int channels, double elapsed) {
    double seconds = static_cast<double>(job.frames) / job.options.sampleRate;
    char speed[32];
    std::snprintf(speed, sizeof speed, "%.1f", seconds / std::max(elapsed, 1e-9));
    std::string line = "Rendered " + significant(seconds, 10) + " s to " + job.options.output +
                       " (" + std::to_string(job.options.sampleRate) + " Hz, " +
                       std::to_string(channels) + " channels, " + formatName(job.options.format) +
                       "): peak " + decibelText(meter.peak()) + " dBFS, RMS " +
                       decibelText(meter.rms()) + " dBFS, took " + significant(elapsed, 3) +
                       " s (" + speed + "x real time)";
    if (meter.nonFinite() > 0)
        line += "; " + std::to_string(meter.nonFinite()) + " samples were not finite";
    return line + "\n";
}

bool render(host::Plugin& plugin, RenderJob& job, const Console& console, std::string& error) {
    const RenderOptions& o = job.options;
    if (!resolve(plugin, job, error)) return false;
    host::ProcessDriver driver(plugin, {static_cast<double>(o.sampleRate), o.block,
                                        o.precision == 64 ? Vst::kSample64 : Vst::kSample32,
                                        Vst::kOffline});
    if (driver.outputChannelCount() == 0) {
        error = "\"" + plugin.classDescription().name + "\" has no audio outputs";
        return false;
    }
    if (!driver.start(error)) return false;
    SoundFileWriter writer;
    if (!writer.open(o.output, o.fileType, o.format, o.sampleRate, driver.outputChannelCount(),
                     job.frames, error))
        return false;
    driver.transport().setPlaying(true);
    if (!queueSettings(driver, job, error)) return false;
    LevelMeter meter;
    ProgressBar progress(console.err, console.errIsTerminal, job.frames);
    auto started = std::chrono::steady_clock::now();
    bool rendered = o.precision == 64
                        ? renderFrames<double>(driver, job, writer, meter, progress, error)
                        : renderFrames<float>(driver, job, writer, meter, progress, error);
    progress.finish();
    if (!rendered || !stillWanted(job, error) || !writer.commit(error)) return false;
    std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - started;
    console.out << summary(job, meter, driver.outputChannelCount(), elapsed.count());
    return true;
}

int loadAndRender(const RenderOptions& options, const InterruptionGuard& interruption,
                  const Console& console) {
    std::string bundle = options.bundle.empty() ? defaultBundlePath() : options.bundle;
    std::string error;
    std::shared_ptr<host::Module> module = host::Module::load(bundle, error);
    std::unique_ptr<host::Plugin> plugin = module ? host::Plugin::create(module, error) : nullptr;
    RenderJob job{options, interruption, std::nullopt, {}, 0};
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
    // Only now, with the plug-in unloaded and the partial file gone, end as the signal asked.
    if (int signal = interruption.caught(); signal != 0) {
        console.out.flush();
        endBySignal(signal);
    }
    return code;
}

} // namespace serivane::tools
