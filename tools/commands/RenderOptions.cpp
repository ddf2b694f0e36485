#include "tools/commands/AnalyzeCommand.h"
#include "tools/commands/RenderCommand.h"
#include "tools/report/NumberText.h"

#include <filesystem>

namespace serivane::tools {

std::string_view RenderCommand::usage() const {
    return R"(Usage: serivane render [OPTIONS] OUT.wav|OUT.flac

Renders the instrument offline with the transport playing and writes the
result to OUT; the file type follows the extension. A failed or interrupted
render (Ctrl-C, SIGTERM) leaves no file behind and an existing OUT as it was.
An OUT that is a symbolic link stays one: the file it names gets the render;
an OUT that is the --mix recording or the --program file is refused.
On a terminal a progress bar shows the time taken and the time still to go.

Options:
  --preset NAME|SLOT     start from a factory preset: by slot number, by name
                         in any case, or by a part of the name that fits one
                         preset only ("7.83"); "serivane info" lists them;
                         repeatable, applied in order (partial ones combine)
  --set "NAME=VALUE"     set a parameter, in its own units ("Binaural=7.83")
                         or by its display text ("Wave=Gold. Square");
                         repeatable, applied after the presets
  --program FILE|NAME    play a session program: timed steps that set presets
                         and parameters at once or in glides, from a file or
                         a built-in program ("serivane programs" lists them
                         and explains the format); its steps follow --preset
                         and --set
  --seconds S            length in seconds, above 0 and at most 86400 (24
                         hours), rounded to the nearest frame (default 60),
                         with --program the program's length
  --sample-rate R        sample rate in Hz, a whole number from 8000 to
                         384000 (default 48000)
  --block N              frames per process block, from 1 to 65536 (default
                         512)
  --precision 32|64      floating-point precision of processing (default 32)
  --format pcm16|pcm24|float
                         sample format of the file (default pcm24; FLAC takes
                         pcm16 or pcm24 only); WAV files above 4 GB are
                         written as RF64
  --analyze              measure the written file as "serivane analyze" does
                         and print its summary; with --program, how closely
                         its beat follows the program's plan
  --plot OUT.png         with --analyze, draw the measurement as "serivane
                         analyze --plot" does, the planned beat among it
  --fade-in S            fade in over the first S seconds, equal power
                         (default 0: none)
  --fade-out S           fade out over the last S seconds; both fades
                         together fit into the render (default 0: none)
  --mix FILE             lay a mono or stereo recording (WAV, FLAC, Ogg
                         Vorbis) under the tones: looped with a short
                         crossfade, converted to the render's rate, a mono
                         one to both ears
  --mix-level DB         the recording's level, from -120 to 24 dB (default
                         -12); a render that peaks above full scale is
                         reported with a warning, not limited
  --bundle PATH          the .vst3 bundle folder or the library inside it
                         (default: the first Serivane.vst3 in ~/.vst3,
                         /usr/lib/vst3 and /usr/local/lib/vst3, otherwise
                         the bundle of the build tree)
  -h, --help             show this help
)";
}

void RenderCommand::define(CLI::App& app) {
    addBundle(app, options_.bundle);
    addPresets(app, options_.presets);
    addSettings(app, options_.settings);
    addText(app, "--program", options_.program);
    seconds_ = addSeconds(app, options_.seconds);
    addWholeNumber(app, "--sample-rate", options_.sampleRate, minSampleRate, maxSampleRate);
    addWholeNumber(app, "--block", options_.block, 1, maxBlock);
    addChoice(app, "--precision", options_.precision, {{"32", 32}, {"64", 64}});
    addChoice(app, "--format", options_.format,
              {{"pcm16", SampleFormat::Pcm16},
               {"pcm24", SampleFormat::Pcm24},
               {"float", SampleFormat::Float}});
    addSwitch(app, "--analyze", options_.analyze);
    addValue(app, "--plot", [this](const std::string& text) {
        if (!equalsIgnoringCase(std::filesystem::path(text).extension().string(), ".png"))
            throw UsageError("--plot needs a file ending in .png, not \"" + text + "\"");
        options_.plot = text;
    });
    addSessionOptions(app, options_.session);
    addOutput(app, options_.output);
}

void RenderCommand::check() {
    options_.secondsGiven = seconds_->count() > 0;
    if (!options_.plot.empty() && !options_.analyze)
        throw UsageError("--plot draws what --analyze measures: give --analyze too");
    if (options_.analyze && options_.seconds < minWindowSeconds)
        throw UsageError("--analyze needs at least " + shortest(minWindowSeconds) + " s of sound");
    if (options_.output.empty())
        throw UsageError("render needs an output file ending in .wav or .flac");
    std::string extension = std::filesystem::path(options_.output).extension().string();
    if (equalsIgnoringCase(extension, ".wav"))
        options_.fileType = FileType::Wav;
    else if (equalsIgnoringCase(extension, ".flac"))
        options_.fileType = FileType::Flac;
    else
        throw UsageError("the output file must end in .wav or .flac: " + options_.output);
    if (options_.fileType == FileType::Flac && options_.format == SampleFormat::Float)
        throw UsageError("FLAC holds whole-number samples only: use --format pcm16 or pcm24");
    // A program without --seconds sets the length; its fades are checked once it is read.
    bool lengthKnown = options_.secondsGiven || options_.program.empty();
    checkSessionOptions(options_.session, lengthKnown ? options_.seconds : maxSeconds,
                        options_.sampleRate, "render");
}

std::string RenderCommand::refuse(const std::string& word) const {
    return refuseForOutputCommand(name(), options_.output, word);
}

} // namespace serivane::tools
