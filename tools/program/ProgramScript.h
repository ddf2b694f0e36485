#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace serivane::tools {

enum class StepKind { Preset, Set, Glide, End };

// How a glide moves between its two values: in equal steps, or in equal ratios (even to the
// ear for frequencies).
enum class GlideShape { Linear, Ratio };

// One line of a program as written, before names and values meet a plug-in.
struct ScriptStep {
    int line = 0;
    double time = 0.0; // seconds from the start
    StepKind kind = StepKind::Set;
    std::string name;  // parameter title, or the preset's name or slot
    std::string value; // the value text of a setting or the target of a glide
    double glideSeconds = 0.0;
    GlideShape shape = GlideShape::Linear;
    std::string text;    // what the line says after its time, without a comment
    std::string comment; // the line's comment, without its "#"
};

// A session program: timed steps that set presets and parameters at once or in glides.
class ProgramScript {
public:
    // Reads the text of a program; `file` names it in errors ("FILE:LINE: what was expected").
    // `interrupted` (when set) is asked before each line; once it answers true, reading stops
    // and fails.
    static bool parse(std::string_view text, const std::string& file, ProgramScript& script,
                      std::string& error, const std::function<bool()>& interrupted = {});

    const std::string& file() const { return file_; }
    const std::vector<ScriptStep>& steps() const { return steps_; }

    // When the last step or glide is over, or the time of "end".
    double length() const;

    // "FILE:LINE: message".
    std::string errorAt(int line, const std::string& message) const;

private:
    std::string file_;
    std::vector<ScriptStep> steps_;
};

// The longest program accepted, in seconds.
inline constexpr double maxProgramSeconds = 86400.0;

} // namespace serivane::tools
