#include "tools/Arguments.h"
#include "tools/NumberText.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <optional>

namespace serivane::tools {

namespace {

// Walks the words of one command, splitting "--name=value" and "--name value" alike.
class Words {
public:
    explicit Words(const std::vector<std::string>& words) : words_(words) {}

    bool done() const { return next_ >= words_.size(); }

    // The next word; for an option, its name without any "=value".
    std::string take() {
        std::string word = words_[next_++];
        pending_.reset();
        if (word.rfind("--", 0) == 0) {
            auto equals = word.find('=');
            if (equals != std::string::npos) {
                pending_ = word.substr(equals + 1);
                word.resize(equals);
            }
        }
        return word;
    }

    // An empty value is refused rather than read as "not given".
    bool value(const std::string& option, std::string& value, std::string& error) {
        if (pending_) {
            value = *pending_;
            pending_.reset();
        } else if (done()) {
            error = option + " needs a value";
            return false;
        } else {
            value = words_[next_++];
        }
        if (value.empty()) {
            error = option + " needs a value, not an empty text";
            return false;
        }
        return true;
    }

    bool hasUnusedValue() const { return pending_.has_value(); }

private:
    const std::vector<std::string>& words_;
    std::size_t next_ = 1;
    std::optional<std::string> pending_;
};

bool isHelp(const std::string& word) {
    return word == "--help" || word == "-h";
}

bool integerIn(const std::string& option, const std::string& text, long long low, long long high,
               int& out, std::string& error) {
    std::optional<long long> value = parseInteger(text);
    if (!value || *value < low || *value > high) {
        error = option + " takes a whole number from " + std::to_string(low) + " to " +
                std::to_string(high) + ", not \"" + text + "\"";
        return false;
    }
    out = static_cast<int>(*value);
    return true;
}

bool parseSeconds(const std::string& text, double& out, std::string& error,
                  double limit = maxSeconds) {
    std::optional<double> value = parseNumber(text);
    if (!value || *value <= 0.0 || *value > limit) {
        error = "--seconds takes a number above 0 and at most " + shortest(limit) + ", not \"" +
                text + "\"";
        return false;
    }
    out = *value;
    return true;
}

bool parseFade(const std::string& option, const std::string& text, double& out,
               std::string& error) {
    std::optional<double> value = parseNumber(text);
    if (!value || *value < 0.0 || *value > maxSeconds) {
        error =
            option + " takes seconds from 0 to " + shortest(maxSeconds) + ", not \"" + text + "\"";
        return false;
    }
    out = *value;
    return true;
}

bool parseMixLevel(const std::string& text, double& out, std::string& error) {
    std::optional<double> value = parseNumber(text);
    if (!value || *value < minMixLevel || *value > maxMixLevel) {
        error = "--mix-level takes decibels from " + shortest(minMixLevel) + " to " +
                shortest(maxMixLevel) + ", not \"" + text + "\"";
        return false;
    }
    out = *value;
    return true;
}

bool parsePrecision(const std::string& text, int& out, std::string& error) {
    if (text != "32" && text != "64") {
        error = "--precision takes 32 or 64, not \"" + text + "\"";
        return false;
    }
    out = text == "32" ? 32 : 64;
    return true;
}

bool parseFormat(const std::string& text, SampleFormat& out, std::string& error) {
    if (text == "pcm16")
        out = SampleFormat::Pcm16;
    else if (text == "pcm24")
        out = SampleFormat::Pcm24;
    else if (text == "float")
        out = SampleFormat::Float;
    else {
        error = "--format takes pcm16, pcm24 or float, not \"" + text + "\"";
        return false;
    }
    return true;
}

bool parseSetting(const std::string& text,
                  std::vector<std::pair<std::string, std::string>>& settings, std::string& error) {
    auto equals = text.find('=');
    std::string name =
        equals == std::string::npos ? std::string() : std::string(trim(text.substr(0, equals)));
    std::string value =
        equals == std::string::npos ? std::string() : std::string(trim(text.substr(equals + 1)));
    if (name.empty() || value.empty()) {
        error = "--set takes \"Parameter Name=value\", not \"" + text + "\"";
        return false;
    }
    settings.emplace_back(name, value);
    return true;
}

bool parseOutput(RenderOptions& options, std::string& error) {
    if (options.output.empty()) {
        error = "render needs an output file ending in .wav or .flac";
        return false;
    }
    std::string extension = std::filesystem::path(options.output).extension().string();
    if (equalsIgnoringCase(extension, ".wav")) {
        options.fileType = FileType::Wav;
    } else if (equalsIgnoringCase(extension, ".flac")) {
        options.fileType = FileType::Flac;
    } else {
        error = "the output file must end in .wav or .flac: " + options.output;
        return false;
    }
    if (options.fileType == FileType::Flac && options.format == SampleFormat::Float) {
        error = "FLAC holds whole-number samples only: use --format pcm16 or pcm24";
        return false;
    }
    return true;
}

bool parseInfo(Words& words, InfoOptions& options, std::string& error) {
    while (!words.done()) {
        std::string word = words.take();
        if (isHelp(word)) {
            options.help = true;
        } else if (word == "--json") {
            if (words.hasUnusedValue()) {
                error = "--json takes no value";
                return false;
            }
            options.json = true;
        } else if (word == "--bundle") {
            if (!words.value(word, options.bundle, error)) return false;
        } else {
            error = "info does not take \"" + word + "\"";
            return false;
        }
    }
    return true;
}

bool parseRenderOption(const std::string& word, Words& words, RenderOptions& options,
                       std::string& error) {
    std::string value;
    if (!words.value(word, value, error)) return false;
    if (word == "--bundle") {
        options.bundle = value;
    } else if (word == "--preset") {
        options.preset = value;
    } else if (word == "--set") {
        return parseSetting(value, options.settings, error);
    } else if (word == "--seconds") {
        return parseSeconds(value, options.seconds, error);
    } else if (word == "--sample-rate") {
        return integerIn(word, value, minSampleRate, maxSampleRate, options.sampleRate, error);
    } else if (word == "--block") {
        return integerIn(word, value, 1, maxBlock, options.block, error);
    } else if (word == "--precision") {
        return parsePrecision(value, options.precision, error);
    } else if (word == "--format") {
        return parseFormat(value, options.format, error);
    } else if (word == "--fade-in" || word == "--fade-out") {
        return parseFade(word, value, word == "--fade-in" ? options.fadeIn : options.fadeOut,
                         error);
    } else if (word == "--mix") {
        options.mix = value;
    } else if (word == "--mix-level") {
        return parseMixLevel(value, options.mixLevel, error);
    }
    return true;
}

// Both fades fit into the render, counted in frames as the render counts them.
bool checkSession(const RenderOptions& options, bool mixLevelGiven, std::string& error) {
    if (mixLevelGiven && options.mix.empty()) {
        error = "--mix-level sets the level of a --mix FILE: give one";
        return false;
    }
    auto frames = [&](double seconds) { return std::llround(seconds * options.sampleRate); };
    if (frames(options.fadeIn) + frames(options.fadeOut) > std::max(1LL, frames(options.seconds))) {
        error = "--fade-in and --fade-out together (" + shortest(options.fadeIn + options.fadeOut) +
                " s) are longer than the render (" + shortest(options.seconds) + " s)";
        return false;
    }
    return true;
}

bool parseRender(Words& words, RenderOptions& options, std::string& error) {
    static const std::vector<std::string> known = {
        "--bundle",      "--preset", "--set",     "--seconds",  "--block", "--precision",
        "--sample-rate", "--format", "--fade-in", "--fade-out", "--mix",   "--mix-level"};
    bool mixLevelGiven = false;
    while (!words.done()) {
        std::string word = words.take();
        if (isHelp(word)) {
            options.help = true;
        } else if (std::find(known.begin(), known.end(), word) != known.end()) {
            if (!parseRenderOption(word, words, options, error)) return false;
            mixLevelGiven = mixLevelGiven || word == "--mix-level";
        } else if (word.rfind("-", 0) == 0 && word.size() > 1) {
            error = "render does not take \"" + word + "\"";
            return false;
        } else if (!options.output.empty()) {
            error = "render takes one output file, not both \"" + options.output + "\" and \"" +
                    word + "\"";
            return false;
        } else {
            options.output = word;
        }
    }
    return options.help ||
           (parseOutput(options, error) && checkSession(options, mixLevelGiven, error));
}

// "X,Y" in editor pixels.
bool parseClick(const std::string& option, const std::string& text, bool right,
                std::vector<EditorClick>& clicks, std::string& error) {
    const auto comma = text.find(',');
    std::optional<long long> x, y;
    if (comma != std::string::npos) {
        x = parseInteger(trim(std::string_view(text).substr(0, comma)));
        y = parseInteger(trim(std::string_view(text).substr(comma + 1)));
    }
    if (!x || !y || *x < 0 || *y < 0 || *x >= maxEditorPixels || *y >= maxEditorPixels) {
        error = option + " takes \"X,Y\" in the editor's pixels, not \"" + text + "\"";
        return false;
    }
    clicks.push_back({static_cast<int>(*x), static_cast<int>(*y), right});
    return true;
}

bool parseSnapshotOption(const std::string& word, Words& words, SnapshotOptions& options,
                         std::string& error) {
    if (word == "--stopped") {
        if (words.hasUnusedValue()) {
            error = "--stopped takes no value";
            return false;
        }
        options.stopped = true;
        return true;
    }
    std::string value;
    if (!words.value(word, value, error)) return false;
    if (word == "--bundle") options.bundle = value;
    if (word == "--preset") options.preset = value;
    if (word == "--set") return parseSetting(value, options.settings, error);
    if (word == "--seconds") return parseSeconds(value, options.seconds, error, maxSnapshotSeconds);
    if (word == "--click" || word == "--right-click")
        return parseClick(word, value, word == "--right-click", options.clicks, error);
    return true;
}

bool parseSnapshot(Words& words, SnapshotOptions& options, std::string& error) {
    static const std::vector<std::string> known = {
        "--bundle", "--preset", "--set", "--seconds", "--click", "--right-click", "--stopped"};
    while (!words.done()) {
        std::string word = words.take();
        if (isHelp(word)) {
            options.help = true;
        } else if (std::find(known.begin(), known.end(), word) != known.end()) {
            if (!parseSnapshotOption(word, words, options, error)) return false;
        } else if (word.rfind("-", 0) == 0 && word.size() > 1) {
            error = "snapshot does not take \"" + word + "\"";
            return false;
        } else if (!options.output.empty()) {
            error = "snapshot takes one output file, not both \"" + options.output + "\" and \"" +
                    word + "\"";
            return false;
        } else {
            options.output = word;
        }
    }
    if (options.help) return true;
    if (!equalsIgnoringCase(std::filesystem::path(options.output).extension().string(), ".png")) {
        error = "snapshot needs an output file ending in .png";
        return false;
    }
    return true;
}

bool parseEdit(Words& words, EditOptions& options, std::string& error) {
    while (!words.done()) {
        std::string word = words.take();
        std::string value;
        if (isHelp(word)) {
            options.help = true;
        } else if (word == "--bundle" || word == "--preset" || word == "--set") {
            if (!words.value(word, value, error)) return false;
            if (word == "--bundle") options.bundle = value;
            if (word == "--preset") options.preset = value;
            if (word == "--set" && !parseSetting(value, options.settings, error)) return false;
        } else {
            error = "edit does not take \"" + word + "\"";
            return false;
        }
    }
    return true;
}

} // namespace

bool parseCommand(const std::vector<std::string>& words, Command& command, std::string& error) {
    command = Command{};
    if (words.empty()) {
        error = "missing command";
        return false;
    }
    if (isHelp(words[0]) || words[0] == "help") return true;
    Words rest(words);
    if (words[0] == "info") {
        command.kind = Command::Kind::Info;
        return parseInfo(rest, command.info, error);
    }
    if (words[0] == "render") {
        command.kind = Command::Kind::Render;
        return parseRender(rest, command.render, error);
    }
    if (words[0] == "snapshot") {
        command.kind = Command::Kind::Snapshot;
        return parseSnapshot(rest, command.snapshot, error);
    }
    if (words[0] == "edit") {
        command.kind = Command::Kind::Edit;
        return parseEdit(rest, command.edit, error);
    }
    error = "unknown command \"" + words[0] + "\"";
    return false;
}

const char* formatName(SampleFormat format) {
    switch (format) {
    case SampleFormat::Pcm16:
        return "pcm16";
    case SampleFormat::Pcm24:
        return "pcm24";
    case SampleFormat::Float:
        return "float";
    }
    return "";
}

} // namespace serivane::tools
