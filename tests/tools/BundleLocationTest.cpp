#include "tools/plugin/BundleLocation.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <optional>
#include <unistd.h>
#include <vector>

namespace serivane::tools {
namespace {

namespace fs = std::filesystem;

// Points HOME at a scratch folder while it lives.
class ScratchHome {
public:
    ScratchHome()
        : folder_(fs::temp_directory_path() / ("serivane-home-" + std::to_string(getpid()))) {
        if (const char* home = std::getenv("HOME")) saved_ = home;
        fs::remove_all(folder_);
        fs::create_directories(folder_);
        setenv("HOME", folder_.c_str(), 1);
    }
    ~ScratchHome() {
        if (saved_)
            setenv("HOME", saved_->c_str(), 1);
        else
            unsetenv("HOME");
        fs::remove_all(folder_);
    }
    const fs::path& folder() const { return folder_; }

private:
    fs::path folder_;
    std::optional<std::string> saved_;
};

TEST(BundleLocation, TheSearchGoesFromTheUserToTheSystemToTheBuildTree) {
    ScratchHome home;
    const std::vector<std::string> paths = bundleSearchPaths();
    ASSERT_EQ(paths.size(), 4u);
    EXPECT_EQ(paths[0], (home.folder() / ".vst3" / "Serivane.vst3").string());
    EXPECT_EQ(paths[1], "/usr/lib/vst3/Serivane.vst3");
    EXPECT_EQ(paths[2], "/usr/local/lib/vst3/Serivane.vst3");
    EXPECT_EQ(fs::path(paths[3]).filename(), "Serivane.vst3");
    EXPECT_NE(paths[3].rfind(home.folder().string(), 0), 0u);

    unsetenv("HOME");
    EXPECT_EQ(bundleSearchPaths(), std::vector<std::string>(paths.begin() + 1, paths.end()));
}

TEST(BundleLocation, TheInstalledBundleComesBeforeTheBuildTreesOne) {
    ScratchHome home;
    const std::string installed = (home.folder() / "installed.vst3").string();
    const std::string system = (home.folder() / "system.vst3").string();
    const std::string buildTree = (home.folder() / "build.vst3").string();
    const std::vector<std::string> paths = {installed, system, buildTree};
    EXPECT_EQ(firstBundle(paths), buildTree) << "the last place is taken when none is there";

    std::ofstream(installed) << "not a folder";
    fs::create_directories(system);
    EXPECT_EQ(firstBundle(paths), system) << "a file of that name is no bundle";

    fs::remove(installed);
    fs::create_directories(installed);
    EXPECT_EQ(firstBundle(paths), installed);
}

} // namespace
} // namespace serivane::tools
