#include "tools/commands/ProgramsCommand.h"
#include "tools/program/BuiltinPrograms.h"
#include "tools/program/ProgramSource.h"
#include "tools/program/ProgramTime.h"
#include "tools/report/NumberText.h"

#include <algorithm>

namespace serivane::tools {

std::string_view ProgramsCommand::usage() const {
    return R"(Usage: serivane programs [NAME]

Lists the built-in session programs with their lengths, or prints the program
NAME so that it can be copied into a file and changed:
  serivane programs sleep-descent > my-descent.txt
  serivane render --program my-descent.txt descent.flac

A program is a text of timed steps, one a line, "#" starting a comment:
  00:00  preset NAME|SLOT            load a factory preset
  00:00  Binaural = 10 Hz            set a parameter at once, in its own
                                     units or by its display text
  02:00  Binaural = 4 Hz over 5m exp glide there over a duration, linear
                                     (the default) or in equal ratios
                                     ("exp" or "ratio")
  30:00  end                         the program's length
A time is mm:ss or h:mm:ss from the start, or +DURATION after the step
before (+30s, +5m, +1m30s). A glide sends its values every 10 ms of audio.

A program also moves what lies under the tones, starting from --noise,
--noise-level and --mix-level:
  00:00  noise = pink                choose the noise bed: white, pink, brown
                                     or off ("over" crossfades)
  05:00  noise level = -30 dB over 10m
                                     glide its level, -120 to 0 dB, evenly
                                     in dB
  05:00  mix level = -15 dB          the --mix recording's level, -120 to 24
                                     dB; needs --mix
A "noise level" step needs a colour chosen before it, by --noise or a step.

Options:
  -h, --help             show this help
)";
}

void ProgramsCommand::define(CLI::App& app) {
    app.add_option("program", program_);
}

int ProgramsCommand::run(const Console& console) {
    const std::string& name = program_;
    std::span<const BuiltinProgram> programs = builtinPrograms();
    if (!name.empty()) {
        auto found = std::find_if(programs.begin(), programs.end(), [&](const BuiltinProgram& p) {
            return equalsIgnoringCase(p.name, name);
        });
        if (found == programs.end()) {
            console.err << "serivane: no built-in program \"" << name
                        << "\" (\"serivane programs\" lists them)\n";
            return exitFailure;
        }
        console.out << found->text;
        return exitOk;
    }
    std::size_t width = 0;
    for (const BuiltinProgram& p : programs) width = std::max(width, p.name.size());
    console.out << "Built-in programs: play one with \"serivane render --program NAME OUT.wav\", "
                   "print one to copy and change with \"serivane programs NAME\".\n";
    for (const BuiltinProgram& p : programs) {
        ProgramScript script;
        std::string error;
        std::string length = ProgramScript::parse(p.text, std::string(p.name), script, error)
                                 ? programClock(script.length())
                                 : "?";
        length.insert(0, std::max<std::size_t>(length.size(), 7) - length.size(), ' ');
        console.out << "  " << p.name << std::string(width - p.name.size() + 2, ' ') << length
                    << "  " << programTitle(p.text) << '\n';
    }
    return exitOk;
}

} // namespace serivane::tools
