#include "tools/CommandLine.h"
#include "tools/CommandRegistry.h"

#include <algorithm>
#include <deque>

namespace serivane::tools {

namespace {

// CLI11 reads "--name=" as "--name" followed by the next word; here it keeps its empty value,
// which the option then refuses. CLI11 takes the words last first.
std::vector<std::string> wordsForParsing(const std::vector<std::string>& words) {
    std::vector<std::string> args;
    for (const std::string& word : words) {
        if (word.size() > 3 && word.rfind("--", 0) == 0 && word.find('=') == word.size() - 1) {
            args.push_back(word.substr(0, word.size() - 1));
            args.emplace_back();
        } else {
            args.push_back(word);
        }
    }
    std::reverse(args.begin(), args.end());
    return args;
}

void parse(CLI::App& app, const std::vector<std::string>& words) {
    std::vector<std::string> args = wordsForParsing(words);
    try {
        app.parse(args);
    } catch (const CLI::ArgumentMismatch&) {
        // Only an option at the very end can lack its value: the others take the next word.
        throw UsageError(words.back() + " needs a value");
    } catch (const CLI::ParseError& error) {
        throw UsageError(error.what());
    }
}

// "render " when the words name a command, whose own help then explains its options.
std::string helpFor(const std::vector<std::string>& words) {
    for (const auto& command : allCommands()) {
        if (!words.empty() && command->name() == words[0]) return words[0] + " ";
    }
    return "";
}

} // namespace

ParsedCommandLine parseCommandLine(const std::vector<std::string>& words) {
    if (words.empty()) throw UsageError("missing command");
    CLI::App app("", "serivane");
    app.set_help_flag();
    app.allow_extras();
    // A word starting with "/" is a path, also where CLI11 would read it as a Windows option;
    // the commands inherit this.
    app.allow_windows_style_options(false);
    app.require_subcommand(0, 1);
    bool help = false;
    bool version = false;
    app.add_flag("-h,--help", help);
    app.add_flag("--version", version);
    CLI::App* helpCommand = app.add_subcommand("help")->group("")->allow_extras();

    std::vector<std::unique_ptr<Command>> commands = allCommands();
    std::vector<CLI::App*> apps;
    std::deque<bool> helpFor(commands.size(), false);
    for (std::size_t i = 0; i < commands.size(); ++i) {
        CLI::App* sub = app.add_subcommand(std::string(commands[i]->name()));
        sub->set_help_flag();
        sub->allow_extras();
        sub->add_flag("-h,--help", helpFor[i]);
        commands[i]->define(*sub);
        apps.push_back(sub);
    }
    parse(app, words);

    ParsedCommandLine parsed;
    if (help || helpCommand->parsed()) return parsed;
    if (version) {
        parsed.request = ParsedCommandLine::Request::Version;
        return parsed;
    }
    auto chosen = std::find_if(apps.begin(), apps.end(), [](CLI::App* a) { return a->parsed(); });
    if (chosen == apps.end() || (*chosen)->get_name() != words[0])
        throw UsageError("unknown command \"" + words[0] + "\"");
    auto index = static_cast<std::size_t>(chosen - apps.begin());
    Command& command = *commands[index];
    // CLI11 keeps a "--" among the command's extra words, and words after it that the command
    // had no place for among the tool's.
    std::vector<std::string> extra = (*chosen)->remaining();
    std::erase(extra, "--");
    for (const std::string& word : app.remaining()) extra.push_back(word);
    if (!extra.empty()) throw UsageError(command.refuse(extra.front()));
    if (!helpFor[index]) command.check();
    parsed.request =
        helpFor[index] ? ParsedCommandLine::Request::Help : ParsedCommandLine::Request::Run;
    parsed.command = std::move(commands[index]);
    return parsed;
}

int runCommandLine(const std::vector<std::string>& words, const Console& console) {
    ParsedCommandLine parsed;
    try {
        parsed = parseCommandLine(words);
    } catch (const UsageError& error) {
        console.err << "serivane: " << error.what() << "\nRun \"serivane " << helpFor(words)
                    << "--help\" for usage.\n";
        return exitUsage;
    }
    switch (parsed.request) {
    case ParsedCommandLine::Request::Help:
        console.out << (parsed.command ? std::string(parsed.command->usage()) : generalUsage());
        return exitOk;
    case ParsedCommandLine::Request::Version:
        console.out << versionText();
        return exitOk;
    case ParsedCommandLine::Request::Run:
        return parsed.command->run(console);
    }
    return exitUsage;
}

std::string generalUsage() {
    std::string text = R"(Usage: serivane COMMAND [OPTIONS]

The Serivane binaural-beat instrument without a DAW: loads the VST3 bundle
through its exported entry points, as any host does.

Commands:
)";
    std::vector<std::unique_ptr<Command>> commands = allCommands();
    std::size_t width = 0;
    for (const auto& command : commands) width = std::max(width, command->name().size());
    for (const auto& command : commands) {
        std::string name(command->name());
        text += "  " + name + std::string(width + 2 - name.size(), ' ');
        text += std::string(command->summary()) + "\n";
    }
    return text + R"(
Run "serivane COMMAND --help" for the options of a command, and
"serivane --version" for the version of the tool.
)";
}

std::string versionText() {
    return "serivane " SERIVANE_VERSION "\n";
}

} // namespace serivane::tools
