#include "tools/program/ProgramScript.h"
#include "tools/program/ProgramTime.h"
#include "tools/report/NumberText.h"

#include <algorithm>
#include <cctype>
#include <limits>
#include <optional>
#include <unordered_map>

namespace serivane::tools {

namespace {

// The words of a text with where each starts.
struct Word {
    std::string_view text;
    std::size_t at;
};

std::vector<Word> wordsOf(std::string_view text) {
    std::vector<Word> words;
    for (std::size_t i = 0; i < text.size();) {
        if (std::isspace(static_cast<unsigned char>(text[i]))) {
            ++i;
            continue;
        }
        std::size_t start = i;
        while (i < text.size() && !std::isspace(static_cast<unsigned char>(text[i]))) ++i;
        words.push_back({text.substr(start, i - start), start});
    }
    return words;
}

std::string quoted(std::string_view text) {
    std::string result(1, '"');
    result.append(text);
    result += '"';
    return result;
}

// Reads one line; an error is the message without its place.
class LineReader {
public:
    LineReader(int line, double previous) : line_(line), previous_(previous) {}

    bool read(std::string_view text, ScriptStep& step, std::string& error) {
        step.line = line_;
        std::size_t space = 0;
        while (space < text.size() && !std::isspace(static_cast<unsigned char>(text[space])))
            ++space;
        if (!readTime(text.substr(0, space), step.time, error)) return false;
        std::string_view rest = trim(text.substr(space));
        step.text = rest;
        if (rest.empty()) {
            error = "expected what happens at " + programClock(step.time) + after();
            return false;
        }
        if (equalsIgnoringCase(rest, "end")) {
            step.kind = StepKind::End;
            return true;
        }
        std::vector<Word> words = wordsOf(rest);
        if (equalsIgnoringCase(words.front().text, "preset")) {
            step.kind = StepKind::Preset;
            step.name = trim(rest.substr(words.front().text.size()));
            if (step.name.empty()) error = "expected a preset name or slot after \"preset\"";
            return error.empty();
        }
        if (!readSetting(rest, step, error)) return false;
        if (step.time + step.glideSeconds > maxProgramSeconds) {
            error = "the glide ends past the longest program, " + programClock(maxProgramSeconds);
            return false;
        }
        return true;
    }

private:
    static std::string after() {
        return ": \"NAME = VALUE\", \"NAME = VALUE over DURATION\", \"preset NAME\" or \"end\"";
    }

    bool readTime(std::string_view text, double& time, std::string& error) const {
        std::optional<double> value;
        if (!text.empty() && text.front() == '+') {
            value = parseDuration(text.substr(1));
            if (value) *value += previous_;
        } else {
            value = parseClock(text);
        }
        if (!value) {
            error = "expected a time such as 05:00, 1:02:30 or +30s at the start of the step, "
                    "found " +
                    quoted(text);
            return false;
        }
        if (*value > maxProgramSeconds) {
            error =
                quoted(text) + " is past the longest program, " + programClock(maxProgramSeconds);
            return false;
        }
        time = *value;
        return true;
    }

    bool readSetting(std::string_view text, ScriptStep& step, std::string& error) const {
        std::size_t equals = text.find('=');
        if (equals == std::string_view::npos) {
            error = "expected" + after().substr(1) + ", found " + quoted(text);
            return false;
        }
        step.name = trim(text.substr(0, equals));
        if (step.name.empty()) {
            error = "expected a parameter name before \"=\"";
            return false;
        }
        std::string_view value = trim(text.substr(equals + 1));
        std::vector<Word> words = wordsOf(value);
        auto over = std::find_if(words.rbegin(), words.rend(),
                                 [](const Word& w) { return equalsIgnoringCase(w.text, "over"); });
        step.kind = over == words.rend() ? StepKind::Set : StepKind::Glide;
        step.value = trim(over == words.rend() ? value : value.substr(0, over->at));
        if (step.value.empty()) {
            error = "expected a value for " + quoted(step.name) + " after \"=\"";
            return false;
        }
        if (step.kind == StepKind::Set) return true;
        return readGlide(std::vector<Word>(over.base(), words.end()), step, error);
    }

    static bool readGlide(const std::vector<Word>& words, ScriptStep& step, std::string& error) {
        std::optional<double> length =
            words.empty() ? std::nullopt : parseDuration(words.front().text);
        if (!length || *length <= 0.0) {
            error = "expected a glide length above 0 such as 30s, 5m or 1m30s after \"over\"" +
                    (words.empty() ? std::string() : ", found " + quoted(words.front().text));
            return false;
        }
        step.glideSeconds = *length;
        if (words.size() >= 2) {
            if (equalsIgnoringCase(words[1].text, "linear")) {
                step.shape = GlideShape::Linear;
            } else if (equalsIgnoringCase(words[1].text, "exp") ||
                       equalsIgnoringCase(words[1].text, "ratio")) {
                step.shape = GlideShape::Ratio;
            } else {
                error = "expected \"linear\", \"exp\" or \"ratio\" after the glide length, found " +
                        quoted(words[1].text);
                return false;
            }
        }
        if (words.size() > 2) {
            error = "expected the end of the step after " + quoted(words[1].text) + ", found " +
                    quoted(words[2].text);
            return false;
        }
        return true;
    }

    int line_;
    double previous_;
};

// Steps that cannot follow one another: anything after "end", a step on a parameter whose glide
// still runs, a preset while any glide runs, and an "end" before the glides are over. Whether a
// step is admitted is told from what the earlier steps left behind, so that a long program reads
// in linear time; only a refused step looks through them all for the one it clashes with.
class Sequence {
public:
    bool admits(const std::vector<ScriptStep>& steps, const ScriptStep& step,
                std::string& error) const {
        return !clashes(steps, step) || explain(steps, step, error);
    }

    void add(const ScriptStep& step) {
        if (step.kind != StepKind::Glide) return;
        double finish = step.time + step.glideSeconds;
        anyFinish_ = std::max(anyFinish_, finish);
        double& named = finishes_.try_emplace(lowerCase(step.name), finish).first->second;
        named = std::max(named, finish);
    }

private:
    static std::string lowerCase(std::string_view text) {
        std::string lower(text);
        for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        return lower;
    }

    // Steps go in time order, so the last one is the latest.
    bool clashes(const std::vector<ScriptStep>& steps, const ScriptStep& step) const {
        if (steps.empty()) return false;
        if (steps.back().kind == StepKind::End || step.time < steps.back().time) return true;
        if (step.kind == StepKind::Preset || step.kind == StepKind::End)
            return !(step.time >= anyFinish_);
        auto named = finishes_.find(lowerCase(step.name));
        return named != finishes_.end() && !(step.time >= named->second);
    }

    // The earliest step that `step` clashes with, as the error.
    static bool explain(const std::vector<ScriptStep>& steps, const ScriptStep& step,
                        std::string& error) {
        for (const ScriptStep& earlier : steps) {
            if (earlier.kind == StepKind::End) {
                error = "nothing may follow \"end\" of line " + std::to_string(earlier.line);
                return false;
            }
            if (step.time < earlier.time) {
                error = programClock(step.time) + " comes before " + programClock(earlier.time) +
                        " of line " + std::to_string(earlier.line) + ": steps go in time order";
                return false;
            }
            double finish = earlier.time + earlier.glideSeconds;
            if (earlier.kind != StepKind::Glide || step.time >= finish) continue;
            bool sameParameter =
                step.kind != StepKind::Preset && equalsIgnoringCase(step.name, earlier.name);
            if (step.kind == StepKind::Preset || step.kind == StepKind::End || sameParameter) {
                error = "the glide of " + quoted(earlier.name) + " from line " +
                        std::to_string(earlier.line) + " runs until " + programClock(finish) +
                        ": expected this step at " + programClock(finish) + " or later";
                return false;
            }
        }
        return true;
    }

    std::unordered_map<std::string, double> finishes_; // the latest glide end of each name
    double anyFinish_ = -std::numeric_limits<double>::infinity();
};

} // namespace

bool ProgramScript::parse(std::string_view text, const std::string& file, ProgramScript& script,
                          std::string& error, const std::function<bool()>& interrupted) {
    script = ProgramScript();
    script.file_ = file;
    Sequence sequence;
    int line = 0;
    while (!text.empty()) {
        if (interrupted && interrupted()) {
            error = "reading " + file + " was interrupted";
            return false;
        }
        ++line;
        std::size_t newline = text.find('\n');
        std::string_view content = text.substr(0, newline);
        text.remove_prefix(newline == std::string_view::npos ? text.size() : newline + 1);
        std::size_t hash = content.find('#');
        std::string_view comment =
            hash == std::string_view::npos ? std::string_view() : trim(content.substr(hash + 1));
        content = trim(content.substr(0, hash));
        if (content.empty()) continue;
        double previous = script.steps_.empty() ? 0.0 : script.steps_.back().time;
        ScriptStep step;
        std::string problem;
        if (!LineReader(line, previous).read(content, step, problem) ||
            !sequence.admits(script.steps_, step, problem)) {
            error = script.errorAt(line, problem);
            return false;
        }
        step.comment = comment;
        sequence.add(step);
        script.steps_.push_back(std::move(step));
    }
    if (script.steps_.empty()) {
        error = script.errorAt(std::max(line, 1),
                               "expected at least one step such as \"00:00 Binaural = 10 Hz\", "
                               "found an empty program");
        return false;
    }
    return true;
}

double ProgramScript::length() const {
    double length = 0.0;
    for (const ScriptStep& step : steps_) length = std::max(length, step.time + step.glideSeconds);
    return length;
}

std::string ProgramScript::errorAt(int line, const std::string& message) const {
    return file_ + ":" + std::to_string(line) + ": " + message;
}

} // namespace serivane::tools
