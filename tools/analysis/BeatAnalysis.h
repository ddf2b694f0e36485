#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace serivane::tools {

// Whether a stretch of sound carries a binaural beat, and if not, why not.
enum class BeatVerdict {
    Beat,          // the ears' phase difference turns at a steady rate
    Mono,          // one channel: both ears hear the same
    Silent,        // nothing sounds
    OneEar,        // only one ear sounds
    SameFrequency, // both ears carry the same frequencies
    Unsteady,      // the ears share no steady beat
    NotFinite,     // nothing sounds but samples that are NaN or infinite
};

struct EarMeasure {
    std::optional<double> dominantHz; // the strongest frequency; empty when the ear is silent
    double rms = 0.0;
    double peak = 0.0;
};

struct BeatMeasure {
    BeatVerdict verdict = BeatVerdict::Silent;
    // The right ear's frequency minus the left's: positive when the right ear is higher.
    // Set only for BeatVerdict::Beat.
    std::optional<double> hz;
    // 0 … 1: the share of the ears' signal whose phase difference turns at the beat; when both
    // ears also share a sound (the same in each), the share of the rest.
    double strength = 0.0;
};

// One stretch of the file, or the whole of it.
struct SpanMeasure {
    double start = 0.0; // seconds
    double seconds = 0.0;
    EarMeasure left;
    EarMeasure right;
    BeatMeasure beat;
    double rms = 0.0;        // both ears together
    long long notFinite = 0; // samples that are NaN or infinite, measured as silence
};

struct BeatAnalysis {
    int sampleRate = 0;
    int channels = 0;
    long long frames = 0;
    double seconds = 0.0;
    double windowSeconds = 0.0;
    std::vector<SpanMeasure> windows;
    SpanMeasure total;
    std::optional<double> firstNotFinite; // seconds into the file of the first such sample
};

struct AnalysisOptions {
    // Length of one window in seconds; 0 chooses 5 s, or up to 60 s for long files so that a
    // file of up to an hour has at most 60 windows.
    double windowSeconds = 0.0;
    // Asked between the steps of the work; once it answers true, the analysis stops and fails.
    std::function<bool()> interrupted = {};
    // Told after each window how many of the file's frames are measured.
    std::function<void(long long done, long long total)> progress = {};
};

// Shorter files do not hold enough of a beat to measure.
inline constexpr double minAnalysisSeconds = 0.25;
// The largest beat looked for: the instrument's own largest binaural offset.
inline constexpr double maxBeatHz = 2000.0;

// Reads a mono or stereo sound file and measures it window by window and as a whole. False with
// `error` set when the file cannot be read, has another channel count or is too short.
bool analyzeSoundFile(const std::string& path, const AnalysisOptions& options,
                      BeatAnalysis& analysis, std::string& error);

// The text shown for a verdict without a beat ("mono file: both ears hear the same").
const char* verdictText(BeatVerdict verdict);

} // namespace serivane::tools
