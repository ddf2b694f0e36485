#include "tools/CommandLine.h"
#include "InProcessRun.h"
#include "tools/commands/DevicesCommand.h"
#include "tools/commands/EditCommand.h"
#include "tools/commands/InfoCommand.h"
#include "tools/commands/PlayCommand.h"
#include "tools/commands/RenderCommand.h"
#include "tools/report/NumberText.h"

#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <sstream>

namespace serivane::tools {
namespace {

TEST(CommandLine, HelpGoesToStandardOutput) {
    Outcome general = run({"--help"});
    EXPECT_EQ(general.code, exitOk);
    EXPECT_EQ(general.out, generalUsage());
    EXPECT_NE(general.out.find("\n  snapshot  open the editor"), std::string::npos);
    EXPECT_EQ(run({"info", "--help"}).out, InfoCommand().usage());
    EXPECT_EQ(run({"render", "--help"}).out, RenderCommand().usage());
    EXPECT_EQ(run({"edit", "--help"}).out, EditCommand().usage());
    EXPECT_NE(general.out.find("\n  devices   list the sound devices"), std::string::npos);
    EXPECT_EQ(run({"play", "--help"}).out, PlayCommand().usage());
    EXPECT_EQ(run({"devices", "--help"}).out, DevicesCommand().usage());
    Outcome version = run({"--version"});
    EXPECT_EQ(version.code, exitOk);
    EXPECT_EQ(version.out.rfind("serivane ", 0), 0u);
}

TEST(CommandLine, RenderHelpStatesTheLimitsDefaultsAndWhereTheBundleIsLookedFor) {
    const std::string help = run({"render", "--help"}).out;
    for (const std::string& fact :
         {std::string("at most ") + shortest(maxSeconds), std::string("(default 60)"),
          "from " + std::to_string(minSampleRate) + " to", std::to_string(maxSampleRate),
          std::string("(default 48000)"), "from 1 to " + std::to_string(maxBlock),
          std::string("(default\n                         512)"),
          std::string("Serivane.vst3 in ~/.vst3,\n                         /usr/lib/vst3"),
          std::string("time still to go")})
        EXPECT_NE(help.find(fact), std::string::npos) << fact;
}

TEST(CommandLine, EditWithoutADisplayFailsAndSaysWhy) {
    const char* display = std::getenv("DISPLAY");
    const std::string saved = display ? display : "";
    unsetenv("DISPLAY");
    Outcome failed = run({"edit", "--bundle", "anything.vst3"});
    if (display) setenv("DISPLAY", saved.c_str(), 1);
    EXPECT_EQ(failed.code, exitFailure);
    EXPECT_NE(failed.err.find("X display"), std::string::npos) << failed.err;
}

TEST(CommandLine, MisuseExitsWithTheUsageCode) {
    Outcome bad = run({"render", "out.aiff"});
    EXPECT_EQ(bad.code, exitUsage);
    EXPECT_TRUE(bad.out.empty());
    EXPECT_NE(bad.err.find("serivane: "), std::string::npos);
    EXPECT_NE(bad.err.find("Run \"serivane render --help\" for usage."), std::string::npos)
        << "the command's own options: " << bad.err;
    EXPECT_NE(run({"listen"}).err.find("Run \"serivane --help\""), std::string::npos);
}

TEST(CommandLine, AMissingOrBrokenBundleFailsWithoutOutput) {
    namespace fs = std::filesystem;
    fs::path folder = fs::temp_directory_path() / "serivane-cli-no-bundle";
    fs::create_directories(folder);
    std::string missing = (folder / "Nothing.vst3").string();
    std::string target = (folder / "out.wav").string();
    for (const auto& words :
         {std::vector<std::string>{"info", "--bundle", missing},
          std::vector<std::string>{"info", "--json", "--bundle", folder.string()},
          std::vector<std::string>{"render", "--bundle", missing, "--seconds", "1", target}}) {
        Outcome failed = run(words);
        EXPECT_EQ(failed.code, exitFailure);
        EXPECT_TRUE(failed.out.empty());
        EXPECT_NE(failed.err.find(words[words[1] == "--json" ? 3 : 2]), std::string::npos)
            << failed.err;
    }
    EXPECT_TRUE(fs::is_empty(folder)) << "a failed render leaves no file";
    fs::remove_all(folder);
}

} // namespace
} // namespace serivane::tools
