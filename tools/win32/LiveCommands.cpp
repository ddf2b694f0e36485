#include "tools/commands/DevicesCommand.h"
#include "tools/commands/EditCommand.h"
#include "tools/commands/PlayCommand.h"

#include <string>

namespace serivane::tools {

// The live sound goes through PortAudio, which the Windows build has not got: the commands
// that play read their options as on Linux and then say so.

namespace {

int unavailable(std::string_view command, const Console& console) {
    console.err << "serivane: " << command
                << " is only in the Linux build of serivane (it plays through PortAudio, which "
                   "the Windows build leaves out); render writes the sound to a file instead\n";
    return exitFailure;
}

} // namespace

std::string_view PlayCommand::usage() const {
    return R"(Usage: serivane play [OPTIONS]

Plays the instrument live on a sound device. Only in the Linux build of
serivane: the Windows build has no live sound; "serivane render" writes the
same sound to a file.
)";
}

int PlayCommand::run(const Console& console) {
    return unavailable(name(), console);
}

std::string_view DevicesCommand::usage() const {
    return R"(Usage: serivane devices

Lists the sound devices that "play" and "edit" can use. Only in the Linux
build of serivane: the Windows build has no live sound.
)";
}

int DevicesCommand::run(const Console& console) {
    return unavailable(name(), console);
}

std::string_view EditCommand::usage() const {
    return R"(Usage: serivane edit [OPTIONS]

Opens the instrument's editor in a window to play with it. Only in the Linux
build of serivane: the Windows build has no live sound; "serivane snapshot"
opens the editor and saves a picture of it.
)";
}

void EditCommand::define(CLI::App& app) {
    addBundle(app, options_.bundle);
    addPresets(app, options_.presets);
    addSettings(app, options_.settings);
    addText(app, "--device", options_.device);
    addNoiseOptions(app, options_.session);
}

int EditCommand::run(const Console& console) {
    return unavailable(name(), console);
}

} // namespace serivane::tools
