#include "tools/plugin/BundleLocation.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <optional>
#include <unistd.h>

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

TEST(BundleLocation, TheInstalledBundleComesBeforeTheBuildTreesOne) {
    ScratchHome home;
    const std::string buildTree = defaultBundlePath();
    EXPECT_EQ(fs::path(buildTree).filename(), "Serivane.vst3");
    EXPECT_NE(buildTree.rfind(home.folder().string(), 0), 0u);

    const fs::path installed = home.folder() / ".vst3" / "Serivane.vst3";
    fs::create_directories(installed.parent_path());
    std::ofstream(installed) << "not a folder";
    EXPECT_EQ(defaultBundlePath(), buildTree) << "a file of that name is no bundle";

    fs::remove(installed);
    fs::create_directories(installed);
    EXPECT_EQ(defaultBundlePath(), installed.string());

    unsetenv("HOME");
    EXPECT_EQ(defaultBundlePath(), buildTree);
}

} // namespace
} // namespace serivane::tools
