#include "tools/analysis/BeatAnalysis.h"
#include "tools/analysis/Fourier.h"
#include "tools/analysis/WindowMeter.h"
#include "tools/report/NumberText.h"
#include "tools/sound/SoundFileReader.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <map>

namespace serivane::tools {

namespace {

// Context read on each side of a window, so that its analytic signals are clean at its edges.
constexpr double contextSeconds = 1.0;
// Bounds the length of a window (about 87 s at 48 kHz).
constexpr long long maxWindowFrames = 1LL << 22;
// A longer window is measured in pieces of at most this many frames (about 5.5 s at 48 kHz), so
// that the memory and the transforms stay small however long the window.
constexpr long long maxPieceFrames = 1LL << 18;

// 5 s, or the shortest of a few round lengths up to a minute that gives at most 60 windows.
double automaticWindow(double seconds) {
    for (double window : {5.0, 10.0, 15.0, 20.0, 30.0}) {
        if (seconds / window <= 60.0) return window;
    }
    return 60.0;
}

struct Bounds {
    long long first;
    long long end;
};

// Windows of equal length; a remainder shorter than half a window joins the last one.
std::vector<Bounds> windowBounds(long long frames, long long window) {
    std::vector<Bounds> bounds;
    for (long long first = 0; first < frames; first += window)
        bounds.push_back({first, std::min(frames, first + window)});
    if (bounds.size() > 1 && 2 * (bounds.back().end - bounds.back().first) < window) {
        bounds[bounds.size() - 2].end = frames;
        bounds.pop_back();
    }
    return bounds;
}

// A window in pieces of equal length, none longer than `maxPieceFrames`.
std::vector<Bounds> pieces(const Bounds& window) {
    const long long frames = window.end - window.first;
    const long long count = (frames + maxPieceFrames - 1) / maxPieceFrames;
    std::vector<Bounds> result;
    for (long long i = 0; i < count; ++i)
        result.push_back(
            {window.first + frames * i / count, window.first + frames * (i + 1) / count});
    return result;
}

// Adds the windows up into the measures of the whole file.
class Totals {
public:
    explicit Totals(std::size_t spectrumBins)
        : leftSpectrum_(spectrumBins, 0.0), rightSpectrum_(spectrumBins, 0.0) {}

    void add(const WindowReading& reading) {
        const SpanMeasure& m = reading.measure;
        for (std::size_t k = 0; k < leftSpectrum_.size(); ++k) {
            leftSpectrum_[k] += reading.leftSpectrum[k];
            rightSpectrum_[k] += reading.rightSpectrum[k];
        }
        addEar(m.left, m.seconds, left_, leftSquares_);
        addEar(m.right, m.seconds, right_, rightSquares_);
        seconds_ += m.seconds;
        notFinite_ += m.notFinite;
        verdictSeconds_[m.beat.verdict] += m.seconds;
        if (m.beat.hz) {
            const double weight = reading.beatPower * m.seconds;
            beatWeight_ += weight;
            beatSum_ += weight * *m.beat.hz;
            strengthSum_ += m.beat.strength * m.seconds;
            beatSeconds_ += m.seconds;
        }
    }

    SpanMeasure result(const WindowMeter& meter) const {
        SpanMeasure total;
        total.seconds = seconds_;
        total.left = ear(left_, leftSquares_, leftSpectrum_, meter);
        total.right = ear(right_, rightSquares_, rightSpectrum_, meter);
        total.rms = std::sqrt(0.5 * (leftSquares_ + rightSquares_) / seconds_);
        total.notFinite = notFinite_;
        if (beatWeight_ > 0.0) {
            total.beat = {BeatVerdict::Beat, beatSum_ / beatWeight_, strengthSum_ / beatSeconds_};
            meter.pairDominants(leftSpectrum_, rightSpectrum_, *total.beat.hz, total.left,
                                total.right);
        } else {
            total.beat.verdict = mainVerdict();
        }
        return total;
    }

private:
    static void addEar(const EarMeasure& ear, double seconds, EarMeasure& total, double& squares) {
        total.peak = std::max(total.peak, ear.peak);
        squares += ear.rms * ear.rms * seconds;
    }

    EarMeasure ear(const EarMeasure& sums, double squares, const std::vector<double>& spectrum,
                   const WindowMeter& meter) const {
        EarMeasure ear;
        ear.peak = sums.peak;
        ear.rms = std::sqrt(squares / seconds_);
        if (ear.peak >= silenceLevel) ear.dominantHz = meter.dominant(spectrum);
        return ear;
    }

    // Without a beat anywhere: silence only when every window is silent, else the reason that
    // holds for the longest time among the sounding windows.
    BeatVerdict mainVerdict() const {
        BeatVerdict verdict = BeatVerdict::Silent;
        double longest = 0.0;
        for (const auto& [candidate, seconds] : verdictSeconds_) {
            if (candidate != BeatVerdict::Silent && seconds > longest) {
                verdict = candidate;
                longest = seconds;
            }
        }
        return verdict;
    }

    std::vector<double> leftSpectrum_, rightSpectrum_;
    EarMeasure left_, right_;
    double leftSquares_ = 0.0, rightSquares_ = 0.0;
    double seconds_ = 0.0;
    long long notFinite_ = 0;
    std::map<BeatVerdict, double> verdictSeconds_;
    double beatWeight_ = 0.0, beatSum_ = 0.0, strengthSum_ = 0.0, beatSeconds_ = 0.0;
};

bool checkFile(const std::string& path, const SoundFileReader& reader, std::string& error) {
    if (reader.sampleRate() <= 0 || reader.channels() <= 0) {
        error = path + " has no sample rate or no channels";
        return false;
    }
    if (reader.channels() > 2) {
        error = path + " has " + std::to_string(reader.channels()) +
                " channels: analyze reads mono and stereo files";
        return false;
    }
    const double seconds = static_cast<double>(reader.frames()) / reader.sampleRate();
    if (seconds < minAnalysisSeconds) {
        error = path + " is too short to measure a beat: " + durationText(seconds) + ", at least " +
                shortest(minAnalysisSeconds) + " s are needed";
        return false;
    }
    return true;
}

// Whether no sample is NaN or infinite, told by the exponent bits alone: one that is all ones
// carries into the sign bit when 1 is added to it. Integer operations only, which the compiler
// runs several samples at a time.
bool allFinite(const double* samples, std::size_t count) {
    constexpr std::uint64_t exponent = 0x7ffULL << 52;
    std::uint64_t carries = 0;
    for (std::size_t i = 0; i < count; ++i) {
        const auto bits = std::bit_cast<std::uint64_t>(samples[i]);
        carries |= (bits & exponent) + (1ULL << 52);
    }
    return (carries >> 63) == 0;
}

// The file's frames that the pieces are measured on, read once each: consecutive pieces share
// their context, which is kept rather than read again. Samples that are NaN or infinite are set
// to 0 as they are read, so that they spoil no transform, and their frames are kept until the
// piece they belong to counts them.
class SlidingFrames {
public:
    explicit SlidingFrames(SoundFileReader& reader) : reader_(reader) {}

    // Holds frames [from, to) in `channels()`; `from` and `to` never go back.
    bool hold(long long from, long long to, std::string& error) {
        // The frames kept move to the front, and the vectors take the new length: in the middle
        // of a file the length they had, so that nothing is cleared only to be read over.
        const long long kept = std::clamp(held_.end - from, 0LL, held_.end - held_.first);
        const auto drop = static_cast<std::ptrdiff_t>(held_.end - held_.first - kept);
        for (std::vector<double>& channel : channels_) {
            std::copy(channel.begin() + drop, channel.end(), channel.begin());
            channel.resize(static_cast<std::size_t>(to - from));
        }
        const long long first = from + kept;
        const auto at = static_cast<std::size_t>(kept);
        if (to > first && !reader_.read(first, to - first, channels_, at, error)) return false;
        for (std::vector<double>& channel : channels_) clearNotFinite(channel, at, first);
        held_ = {from, to};
        return true;
    }

    const std::vector<std::vector<double>>& channels() const { return channels_; }

    // Counts the samples that were not finite in frames [first, end) into `window` and the file's
    // first such sample into `analysis`; the frames before `end` are done with.
    void countNotFinite(long long first, long long end, double rate, BeatAnalysis& analysis,
                        SpanMeasure& window) {
        for (long long frame : spoiled_) {
            if (frame < first || frame >= end) continue;
            ++window.notFinite;
            const double seconds = static_cast<double>(frame) / rate;
            if (!analysis.firstNotFinite || seconds < *analysis.firstNotFinite)
                analysis.firstNotFinite = seconds;
        }
        std::erase_if(spoiled_, [&](long long frame) { return frame < end; });
    }

private:
    struct Held {
        long long first = 0, end = 0;
    };

    void clearNotFinite(std::vector<double>& channel, std::size_t at, long long firstFrame) {
        if (allFinite(channel.data() + at, channel.size() - at)) return;
        for (std::size_t f = at; f < channel.size(); ++f) {
            if (std::isfinite(channel[f])) continue;
            channel[f] = 0.0;
            spoiled_.push_back(firstFrame + static_cast<long long>(f - at));
        }
    }

    SoundFileReader& reader_;
    std::vector<std::vector<double>> channels_;
    Held held_;
    std::vector<long long> spoiled_; // frames of samples set to 0, not yet counted
};

bool chooseWindowFrames(const AnalysisOptions& options, double seconds, int sampleRate,
                        long long& frames, std::string& error) {
    if (options.windowSeconds <= 0.0) {
        frames = std::min(std::llround(automaticWindow(seconds) * sampleRate), maxWindowFrames);
        return true;
    }
    const double window = options.windowSeconds;
    frames = std::llround(window * sampleRate);
    if (frames > maxWindowFrames) {
        error = "--window " + shortest(window) + " is too long at " + std::to_string(sampleRate) +
                " Hz: at most " + durationText(static_cast<double>(maxWindowFrames) / sampleRate);
        return false;
    }
    return true;
}

} // namespace

bool analyzeSoundFile(const std::string& path, const AnalysisOptions& options,
                      BeatAnalysis& analysis, std::string& error) {
    SoundFileReader reader;
    if (!reader.open(path, error) || !checkFile(path, reader, error)) return false;
    analysis = BeatAnalysis{};
    analysis.sampleRate = reader.sampleRate();
    analysis.channels = reader.channels();
    analysis.frames = reader.frames();
    const double rate = reader.sampleRate();
    analysis.seconds = static_cast<double>(analysis.frames) / rate;
    long long windowFrames = 0;
    if (!chooseWindowFrames(options, analysis.seconds, reader.sampleRate(), windowFrames, error))
        return false;
    windowFrames = std::min(windowFrames, analysis.frames);
    analysis.windowSeconds = static_cast<double>(windowFrames) / rate;

    const std::vector<Bounds> bounds = windowBounds(analysis.frames, windowFrames);
    long long longest = 0;
    for (const Bounds& b : bounds) {
        for (const Bounds& piece : pieces(b)) longest = std::max(longest, piece.end - piece.first);
    }
    const std::size_t spectrumLength = fastLength(static_cast<std::size_t>(longest));
    const WindowMeter meter(rate, spectrumLength, options.interrupted);
    Totals totals(spectrumLength / 2 + 1);
    const long long context = std::llround(contextSeconds * rate);
    SlidingFrames frames(reader);
    const std::string interruption = "the analysis of " + path + " was interrupted";
    // Kept from window to window, so that the room of its cross product is not made anew.
    WindowParts parts;
    for (const Bounds& b : bounds) {
        parts.restart();
        SpanMeasure notFinite;
        for (const Bounds& piece : pieces(b)) {
            const long long from = std::max(0LL, piece.first - context);
            const long long to = std::min(analysis.frames, piece.end + context);
            if (!frames.hold(from, to, error)) return false;
            frames.countNotFinite(piece.first, piece.end, rate, analysis, notFinite);
            const auto before = static_cast<std::size_t>(piece.first - from);
            const auto count = static_cast<std::size_t>(piece.end - piece.first);
            if (!meter.add(frames.channels(), before, count, parts)) {
                error = interruption;
                return false;
            }
        }
        std::optional<WindowReading> reading = meter.finish(parts, analysis.channels == 1);
        if (!reading) {
            error = interruption;
            return false;
        }
        SpanMeasure& window = reading->measure;
        window.start = static_cast<double>(b.first) / rate;
        window.notFinite = notFinite.notFinite;
        if (window.notFinite > 0 && window.beat.verdict == BeatVerdict::Silent)
            window.beat.verdict = BeatVerdict::NotFinite;
        totals.add(*reading);
        analysis.windows.push_back(window);
        if (options.progress) options.progress(b.end, analysis.frames);
    }
    analysis.total = totals.result(meter);
    return true;
}

const char* verdictText(BeatVerdict verdict) {
    switch (verdict) {
    case BeatVerdict::Beat:
        return "binaural beat";
    case BeatVerdict::Mono:
        return "no binaural beat: the file is mono, both ears hear the same";
    case BeatVerdict::Silent:
        return "no binaural beat: silence";
    case BeatVerdict::OneEar:
        return "no binaural beat: only one ear sounds";
    case BeatVerdict::SameFrequency:
        return "no binaural beat: both ears carry the same frequencies";
    case BeatVerdict::Unsteady:
        return "no binaural beat: the ears share no steady beat";
    case BeatVerdict::NotFinite:
        return "no binaural beat: the samples are not numbers (NaN or infinity)";
    }
    return "";
}

} // namespace serivane::tools
