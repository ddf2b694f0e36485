#include "tools/CommandRegistry.h"
#include "tools/commands/AnalyzeCommand.h"
#include "tools/commands/DevicesCommand.h"
#include "tools/commands/EditCommand.h"
#include "tools/commands/InfoCommand.h"
#include "tools/commands/PlayCommand.h"
#include "tools/commands/ProgramsCommand.h"
#include "tools/commands/RenderCommand.h"
#include "tools/commands/SnapshotCommand.h"

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
