// The Windows editor, opened in a Win32 window of the Windows host, against the reference
// pictures the Linux build made. Text is rasterised by GDI here and by FreeType there, so the
// glyphs' pixels may part; everything else must match as closely as on Linux.
#include "Picture.h"

#include "tools/CommandLine.h"

#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <sstream>

namespace serivane::integration {
namespace {

namespace fs = std::filesystem;

// A channel may differ by this much before the pixel counts as changed.
constexpr int kTolerance = 12;
// The share of changed pixels that font rasterising may account for.
constexpr double kChangedShare = 0.01;

struct Reference {
    const char* name;
    std::vector<std::string> options;
};

const Reference kReferences[] = {
    {"default", {}},
    {"tones-16", {"--set", "Tones=16"}},
    {"wave-saw", {"--set", "Wave=Saw"}},
    // A right click on the "Wave" slider opens the list of waveforms.
    {"popup-wave", {"--right-click", "564,170"}},
};

void PrintTo(const Reference& reference, std::ostream* out) {
    *out << reference.name;
}

class EditorSnapshotTest : public ::testing::TestWithParam<Reference> {};

TEST_P(EditorSnapshotTest, TheEditorLooksAsOnLinux) {
    const Reference& reference = GetParam();
    const fs::path out =
        fs::temp_directory_path() / (std::string("serivane-") + reference.name + "-windows.png");
    std::vector<std::string> words = {"snapshot",  "--bundle",  SERIVANE_BUNDLE_PATH,
                                      "--stopped", "--seconds", "0.3"};
    words.insert(words.end(), reference.options.begin(), reference.options.end());
    words.push_back(out.string());
    std::ostringstream said, err;
    ASSERT_EQ(tools::runCommandLine(words, tools::Console{said, err, false}), 0) << err.str();

    Picture fresh, expected;
    ASSERT_TRUE(readPng(out, fresh));
    ASSERT_TRUE(readPng(fs::path(SERIVANE_SNAPSHOT_DIR) / (std::string(reference.name) + ".png"),
                        expected));
    ASSERT_EQ(fresh.width, expected.width);
    ASSERT_EQ(fresh.height, expected.height);
    std::size_t changed = 0;
    for (std::size_t i = 0; i < fresh.pixels.size(); ++i) {
        if (!channelsClose(fresh.pixels[i], expected.pixels[i], kTolerance)) ++changed;
    }
    const double share = static_cast<double>(changed) / static_cast<double>(fresh.pixels.size());
    EXPECT_LE(share, kChangedShare) << changed << " pixels differ; the picture is " << out;
}

INSTANTIATE_TEST_SUITE_P(References, EditorSnapshotTest, ::testing::ValuesIn(kReferences),
                         [](const auto& info) {
                             std::string name = info.param.name;
                             for (char& c : name)
                                 if (c == '-') c = '_';
                             return name;
                         });

} // namespace
} // namespace serivane::integration
