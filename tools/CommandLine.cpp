#include "tools/CommandLine.h"
#include "tools/Arguments.h"
#include "tools/EditCommand.h"
#include "tools/InfoCommand.h"
#include "tools/PlayCommand.h"
#include "tools/RenderCommand.h"
#include "tools/SnapshotCommand.h"
#include "tools/Usage.h"

namespace serivane::tools {

int runCommandLine(const std::vector<std::string>& words, const Console& console) {
    Command command;
    std::string error;
    if (!parseCommand(words, command, error)) {
        console.err << "serivane: " << error << "\nRun \"serivane --help\" for usage.\n";
        return exitUsage;
    }
    switch (command.kind) {
    case Command::Kind::Help:
        console.out << generalUsage();
        return exitOk;
    case Command::Kind::Info:
        if (command.info.help) {
            console.out << infoUsage();
            return exitOk;
        }
        return runInfo(command.info, console);
    case Command::Kind::Render:
        if (command.render.help) {
            console.out << renderUsage();
            return exitOk;
        }
        return runRender(command.render, console);
    case Command::Kind::Snapshot:
        if (command.snapshot.help) {
            console.out << snapshotUsage();
            return exitOk;
        }
        return runSnapshot(command.snapshot, console);
    case Command::Kind::Edit:
        if (command.edit.help) {
            console.out << editUsage();
            return exitOk;
        }
        return runEdit(command.edit, console);
    case Command::Kind::Play:
        if (command.play.help) {
            console.out << playUsage();
            return exitOk;
        }
        return runPlay(command.play, console);
    case Command::Kind::Devices:
        if (command.devices.help) {
            console.out << devicesUsage();
            return exitOk;
        }
        return runDevices(command.devices, console);
    }
    return exitUsage;
}

} // namespace serivane::tools
