// Fresh snapshots of the editor compared with the reference pictures in tests/snapshots. The
// transport stays stopped, so the tone dots and the sweep indicator hold still and the same
// settings give the same picture. SERIVANE_UPDATE_SNAPSHOTS=1 writes the references anew.
#include "Picture.h"

#include "host/VirtualDisplay.h"
#include "tools/CommandLine.h"
#include "tools/report/PngFile.h"

#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <sstream>

namespace serivane::integration {
namespace {

namespace fs = std::filesystem;

// A channel may differ by this much before the pixel counts as changed.
constexpr int kTolerance = 12;

struct Reference {
    const char* name;
    std::vector<std::string> options;
};

const Reference kReferences[] = {
    {"default", {}},
    {"descending", {"--set", "Low Freq=1500", "--set", "High Freq=10"}},
    {"tones-16", {"--set", "Tones=16"}},
    {"wave-sine", {"--set", "Wave=Sine"}},
    {"wave-triangle", {"--set", "Wave=Triangle"}},
    {"wave-saw", {"--set", "Wave=Saw"}},
    {"wave-golden-sine", {"--set", "Wave=Golden Sine"}},
    {"wave-golden-sine-half", {"--set", "Wave=Gold. Sine Half"}},
    {"wave-golden-triangle", {"--set", "Wave=Gold. Triangle"}},
    {"wave-golden-square", {"--set", "Wave=Gold. Square"}},
    // A right click on the "Wave" slider opens the list of waveforms.
    {"popup-wave", {"--right-click", "564,170"}},
    // At a host's content scale, drawn from the denser pictures.
    {"default-scale-2", {"--scale", "2"}},
    {"default-scale-1.5", {"--scale", "1.5"}},
};

void PrintTo(const Reference& reference, std::ostream* out) {
    *out << reference.name;
}

class VisualRegressionTest : public ::testing::TestWithParam<Reference> {
protected:
    void SetUp() override {
        // A server of our own, its pointer resting outside the editor until a click moves it.
        std::string reason;
        if (!display.start(1280, 1024, reason)) GTEST_SKIP() << "no virtual X server: " << reason;
        folder = fs::temp_directory_path() / "serivane-visual";
        fs::create_directories(folder);
    }

    bool snapshot(const Reference& reference, const fs::path& out) {
        std::vector<std::string> words = {"snapshot",  "--bundle",  SERIVANE_BUNDLE_PATH,
                                          "--stopped", "--seconds", "0.3"};
        words.insert(words.end(), reference.options.begin(), reference.options.end());
        words.push_back(out.string());
        std::ostringstream said, err;
        const int code = tools::runCommandLine(words, tools::Console{said, err, false});
        EXPECT_EQ(code, 0) << err.str();
        return code == 0;
    }

    host::VirtualDisplay display;
    fs::path folder;
};

TEST_P(VisualRegressionTest, TheEditorLooksAsItsReferencePicture) {
    const Reference& reference = GetParam();
    const fs::path expectedPath =
        fs::path(SERIVANE_SNAPSHOT_DIR) / (std::string(reference.name) + ".png");
    const fs::path freshPath = folder / (std::string(reference.name) + ".png");
    ASSERT_TRUE(snapshot(reference, freshPath));
    const char* update = std::getenv("SERIVANE_UPDATE_SNAPSHOTS");
    if (update && std::string(update) == "1") {
        fs::copy_file(freshPath, expectedPath, fs::copy_options::overwrite_existing);
        fs::remove(freshPath);
        GTEST_SKIP() << "wrote " << expectedPath;
    }

    Picture expected, fresh;
    ASSERT_TRUE(readPng(expectedPath, expected)) << "no reference picture " << expectedPath;
    ASSERT_TRUE(readPng(freshPath, fresh));
    ASSERT_EQ(fresh.width, expected.width);
    ASSERT_EQ(fresh.height, expected.height);
    // The differences in red over a darkened copy of the reference.
    std::vector<std::uint32_t> marked(expected.pixels.size());
    int changed = 0;
    int firstX = -1, firstY = -1;
    for (int y = 0; y < expected.height; ++y) {
        for (int x = 0; x < expected.width; ++x) {
            const std::size_t i = static_cast<std::size_t>(y * expected.width + x);
            if (channelsClose(expected.pixels[i], fresh.pixels[i], kTolerance)) {
                marked[i] = (expected.pixels[i] >> 2) & 0x3F3F3F;
                continue;
            }
            marked[i] = 0xFFFF0000u;
            if (changed++ == 0) {
                firstX = x;
                firstY = y;
            }
        }
    }
    if (changed == 0) {
        fs::remove(freshPath);
        return;
    }
    const fs::path diffPath = folder / (std::string(reference.name) + "-diff.png");
    std::string error;
    tools::writePng(diffPath.string(), expected.width, expected.height, marked, error);
    ADD_FAILURE() << changed << " pixels differ from " << expectedPath << " (the first at "
                  << firstX << ", " << firstY << "); the fresh snapshot is saved as " << freshPath
                  << " and the differences, in red, as " << diffPath;
}

INSTANTIATE_TEST_SUITE_P(References, VisualRegressionTest, ::testing::ValuesIn(kReferences),
                         [](const ::testing::TestParamInfo<Reference>& info) {
                             std::string name = info.param.name;
                             for (char& c : name)
                                 if (c == '-' || c == '.') c = '_';
                             return name;
                         });

} // namespace
} // namespace serivane::integration
