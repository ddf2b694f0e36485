#include "EditorSession.h"
#include "Picture.h"

#include "tools/CommandLine.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <set>
#include <sstream>

namespace serivane::integration {
namespace {

namespace fs = std::filesystem;

class SnapshotTest : public ::testing::Test {
protected:
    void SetUp() override {
        // The tool uses $DISPLAY or starts Xvfb itself; without either there is nothing to see.
        if (!host::displayReachable()) {
            host::VirtualDisplay probe;
            std::string reason;
            if (!probe.start(64, 64, reason)) GTEST_SKIP() << "no X server: " << reason;
        }
        const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
        folder = fs::temp_directory_path() / (std::string("serivane-snapshot-") + test->name());
        fs::remove_all(folder);
        fs::create_directories(folder);
    }
    void TearDown() override { fs::remove_all(folder); }

    int snapshot(std::vector<std::string> options, const fs::path& out) {
        std::vector<std::string> words = {"snapshot", "--bundle", SERIVANE_BUNDLE_PATH, "--seconds",
                                          "0.3"};
        words.insert(words.end(), options.begin(), options.end());
        words.push_back(out.string());
        std::ostringstream stdOut, stdErr;
        int code = tools::runCommandLine(words, tools::Console{stdOut, stdErr, false});
        EXPECT_EQ(stdErr.str(), "");
        return code;
    }

    fs::path folder;
};

TEST_F(SnapshotTest, WritesTheEditorAtItsSizeWithTheChosenSettings) {
    fs::path plain = folder / "plain.png";
    fs::path set = folder / "set.png";
    ASSERT_EQ(snapshot({}, plain), 0);
    ASSERT_EQ(snapshot({"--preset", "0", "--set", "Binaural=40"}, set), 0);

    Picture a, b;
    ASSERT_TRUE(readPng(plain, a));
    ASSERT_TRUE(readPng(set, b));
    EXPECT_EQ(a.width, 600);
    EXPECT_EQ(a.height, 475);
    // A drawn editor, not an empty window: many colours.
    std::set<std::uint32_t> colours(a.pixels.begin(), a.pixels.end());
    EXPECT_GT(colours.size(), 100u);

    // The setting shows in its control and nowhere else in the grid of controls.
    auto differs = [&](const IBox& r) {
        for (int y = r.top; y < r.bottom; ++y)
            for (int x = r.left; x < r.right; ++x)
                if (a.pixels[static_cast<std::size_t>(y * a.width + x)] !=
                    b.pixels[static_cast<std::size_t>(y * b.width + x)])
                    return true;
        return false;
    };
    EXPECT_TRUE(differs(EditorSession::controlRect(0)));
    EXPECT_FALSE(differs(EditorSession::controlRect(4)));
}

TEST_F(SnapshotTest, AnUnknownSettingWritesNoFile) {
    fs::path out = folder / "none.png";
    std::vector<std::string> words = {"snapshot", "--bundle",   SERIVANE_BUNDLE_PATH,
                                      "--set",    "Nonsense=1", out.string()};
    std::ostringstream stdOut, stdErr;
    EXPECT_NE(tools::runCommandLine(words, tools::Console{stdOut, stdErr, false}), 0);
    EXPECT_NE(stdErr.str().find("Nonsense"), std::string::npos);
    EXPECT_FALSE(fs::exists(out));
}

} // namespace
} // namespace serivane::integration
