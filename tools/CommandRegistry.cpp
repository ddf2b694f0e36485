#include "tools/CommandRegistry.h"
#include "tools/AnalyzeCommand.h"
#include "tools/DevicesCommand.h"
#include "tools/EditCommand.h"
#include "tools/InfoCommand.h"
#include "tools/PlayCommand.h"
#include "tools/RenderCommand.h"
#include "tools/SnapshotCommand.h"
#include "tools/program/ProgramsCommand.h"

namespace serivane::tools {

std::vector<std::unique_ptr<Command>> allCommands() {
    std::vector<std::unique_ptr<Command>> commands;
    commands.push_back(std::make_unique<InfoCommand>());
    commands.push_back(std::make_unique<RenderCommand>());
    commands.push_back(std::make_unique<PlayCommand>());
    commands.push_back(std::make_unique<DevicesCommand>());
    commands.push_back(std::make_unique<AnalyzeCommand>());
    commands.push_back(std::make_unique<ProgramsCommand>());
    commands.push_back(std::make_unique<SnapshotCommand>());
    commands.push_back(std::make_unique<EditCommand>());
    return commands;
}

} // namespace serivane::tools
