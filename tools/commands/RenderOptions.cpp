#include "tools/commands/AnalyzeCommand.h"
#include "tools/commands/RenderCommand.h"
#include "tools/report/NumberText.h"

#include <filesystem>
#include <optional>

namespace serivane::tools {

std::string_view RenderCommand::usage() const {
    return R"(Usage: serivane render [OPTIONS] OUT.wav|.flac|.ogg|.opus|.mp3|-

Renders the instrument offline with the transport playing and writes the
result to OUT; the file type follows the extension: WAV, FLAC, Ogg Vorbis,
Opus or MP3. "-" writes a WAV stream to standard output, for a pipe; the
summary then goes to standard error. A failed or interrupted render (Ctrl-C,
SIGTERM) leaves no file behind and an existing OUT as it was.
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
                         sample format of a WAV or FLAC file (default pcm24;
                         FLAC takes pcm16 or pcm24 only); WAV files above
                         4 GB are written as RF64
  --quality Q            coding quality of an Ogg Vorbis, Opus or MP3 file,
                         from 0 (smallest) to 1 (best) (default 0.5; near 0
                         Opus merges the ears, and the beat with them); Opus
                         takes 8000, 12000, 16000, 24000 or 48000 Hz, MP3
                         8000, 11025, 12000, 16000, 22050, 24000, 32000,
                         44100 or 48000 Hz
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
                         Vorbis, Opus, MP3) under the tones: looped with a
                         short crossfade, converted to the render's rate, a
                         mono one to both ears
  --mix-level DB         the recording's level, from -120 to 24 dB (default
                         -12); a render that peaks above full scale is
                         reported with a warning, not limited
  --noise white|pink|brown
                         lay a noise under the tones, its own in each ear:
                         white, pink (3 dB less an octave up) or brown (6 dB)
  --noise-level DB       the noise's RMS level in each ear, from -120 to 0 dB
                         (default -20)
  --seed N               the noise generator's seed, a whole number from 0 to
                         4294967295 (default 1): the same seed gives the same
                         noise
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
    format_ = addChoice(app, "--format", options_.format,
                        {{"pcm16", SampleFormat::Pcm16},
                         {"pcm24", SampleFormat::Pcm24},
                         {"float", SampleFormat::Float}});
    quality_ = addValue(app, "--quality", [this](const std::string& text) {
        std::optional<double> value = parseNumber(text);
        if (!value || *value < 0.0 || *value > 1.0)
            throw UsageError("--quality takes a number from 0 to 1, not \"" + text + "\"");
        options_.quality = *value;
    });
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
        throw UsageError("render needs an output file ending in .wav, .flac, .ogg, .opus or .mp3, "
                         "or - for standard output");
    checkOutputType();
    // A program without --seconds sets the length; its fades are checked once it is read.
    bool lengthKnown = options_.secondsGiven || options_.program.empty();
    checkSessionOptions(options_.session, lengthKnown ? options_.seconds : maxSeconds,
                        options_.sampleRate, "render");
    checkNoiseOptions(options_.session, !options_.program.empty());
}

// The type the output's extension asks for, and the options that fit it.
void RenderCommand::checkOutputType() {
    RenderOptions& o = options_;
    o.toStandardOutput = o.output == "-";
    std::optional<FileType> type = o.toStandardOutput ? FileType::Wav : fileTypeOf(o.output);
    if (!type)
        throw UsageError("the output file must end in .wav, .flac, .ogg, .opus or .mp3, or be - "
                         "for standard output: " +
                         o.output);
    o.fileType = *type;
    if (o.toStandardOutput && o.analyze)
        throw UsageError("--analyze measures a written file: give one rather than -");
    const char* name = fileTypeName(o.fileType);
    if (isLossy(o.fileType) && format_->count() > 0)
        throw UsageError(std::string("--format sets the samples of WAV and FLAC files; ") + name +
                         " is coded: give --quality");
    if (!isLossy(o.fileType) && quality_->count() > 0)
        throw UsageError(std::string("--quality sets the coding of Ogg Vorbis, Opus and MP3 "
                                     "files; ") +
                         name + " keeps every sample");
    if (o.fileType == FileType::Flac && o.format == SampleFormat::Float)
        throw UsageError("FLAC holds whole-number samples only: use --format pcm16 or pcm24");
    const bool opusRate = o.sampleRate == 8000 || o.sampleRate == 12000 || o.sampleRate == 16000 ||
                          o.sampleRate == 24000 || o.sampleRate == 48000;
    if (o.fileType == FileType::Opus && !opusRate)
        throw UsageError("Opus takes 8000, 12000, 16000, 24000 or 48000 Hz, not " +
                         std::to_string(o.sampleRate) + ": give --sample-rate");
    const bool mp3Rate = opusRate || o.sampleRate == 11025 || o.sampleRate == 22050 ||
                         o.sampleRate == 32000 || o.sampleRate == 44100;
    if (o.fileType == FileType::Mp3 && !mp3Rate)
        throw UsageError("MP3 takes 8000, 11025, 12000, 16000, 22050, 24000, 32000, 44100 or "
                         "48000 Hz, not " +
                         std::to_string(o.sampleRate) + ": give --sample-rate");
}

std::string RenderCommand::refuse(const std::string& word) const {
    return refuseForOutputCommand(name(), options_.output, word);
}

} // namespace serivane::tools
