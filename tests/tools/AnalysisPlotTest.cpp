#include "tools/analysis/AnalysisPlot.h"

#include <cairo.h>
#include <cmath>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <map>
#include <memory>
#include <set>
#include <sys/resource.h>
#include <unistd.h>

namespace serivane::tools {
namespace {

namespace fs = std::filesystem;

// Three windows of 4 s whose beat climbs 4, 8, 12 Hz with the right ear higher.
BeatAnalysis climbingBeat() {
    BeatAnalysis a;
    a.sampleRate = 48000;
    a.channels = 2;
    a.seconds = 12.0;
    a.frames = 12 * 48000;
    a.windowSeconds = 4.0;
    for (int i = 0; i < 3; ++i) {
        SpanMeasure w;
        w.start = 4.0 * i;
        w.seconds = 4.0;
        w.left = {200.0 + 50.0 * i, 0.1, 0.2};
        w.right = {204.0 + 54.0 * i, 0.1, 0.2};
        w.beat = {BeatVerdict::Beat, 4.0 * (i + 1), 0.9};
        w.rms = 0.1;
        a.windows.push_back(w);
    }
    a.total = a.windows[1];
    a.total.start = 0.0;
    a.total.seconds = 12.0;
    return a;
}

using Pixels = std::unique_ptr<cairo_surface_t, decltype(&cairo_surface_destroy)>;

Pixels load(const fs::path& path) {
    return Pixels(cairo_image_surface_create_from_png(path.c_str()), cairo_surface_destroy);
}

std::uint32_t pixel(cairo_surface_t* image, int x, int y) {
    const auto* row =
        cairo_image_surface_get_data(image) + y * cairo_image_surface_get_stride(image);
    return reinterpret_cast<const std::uint32_t*>(row)[x] & 0xFFFFFFu;
}

// Each of red, green and blue within `tolerance`.
bool near(std::uint32_t a, std::uint32_t b, int tolerance) {
    for (int shift : {0, 8, 16}) {
        if (std::abs(static_cast<int>((a >> shift) & 0xFF) -
                     static_cast<int>((b >> shift) & 0xFF)) > tolerance)
            return false;
    }
    return true;
}

// How many pixels of each row have about this colour.
std::map<int, int> rowsOf(cairo_surface_t* image, std::uint32_t colour, int tolerance = 2) {
    std::map<int, int> rows;
    for (int y = 0; y < cairo_image_surface_get_height(image); ++y) {
        for (int x = 0; x < cairo_image_surface_get_width(image); ++x) {
            if (near(pixel(image, x, y), colour, tolerance)) ++rows[y];
        }
    }
    return rows;
}

int count(const std::map<int, int>& rows) {
    int total = 0;
    for (const auto& [y, n] : rows) total += n;
    return total;
}

class AnalysisPlotTest : public ::testing::Test {
protected:
    void SetUp() override {
        const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
        folder = fs::temp_directory_path() /
                 (std::string("serivane-plot-") + test->name() + "-" + std::to_string(getpid()));
        fs::remove_all(folder);
        fs::create_directories(folder);
    }
    void TearDown() override { fs::remove_all(folder); }

    Pixels plot(const PlotOptions& options) {
        const fs::path path = folder / "plot.png";
        std::string error;
        EXPECT_TRUE(writeAnalysisPlot(climbingBeat(), options, path.string(), error)) << error;
        return load(path);
    }

    fs::path folder;
};

constexpr std::uint32_t beatColour = 0xF5EB59;    // the measured beat, right ear higher
constexpr std::uint32_t plannedColour = 0xED73BF; // the planned beat
constexpr std::uint32_t leftColour = 0x57B5E8;
constexpr std::uint32_t rightColour = 0xE59E00;

TEST_F(AnalysisPlotTest, APictureOfTheRightSizeWithSomethingInIt) {
    Pixels image = plot({"climb.wav", {}});
    ASSERT_EQ(cairo_surface_status(image.get()), CAIRO_STATUS_SUCCESS);
    EXPECT_EQ(cairo_image_surface_get_width(image.get()), plotWidth);
    EXPECT_EQ(cairo_image_surface_get_height(image.get()), plotHeight);
    std::set<std::uint32_t> colours;
    for (int y = 0; y < plotHeight; y += 3) {
        for (int x = 0; x < plotWidth; x += 3) colours.insert(pixel(image.get(), x, y));
    }
    EXPECT_GT(colours.size(), 50u) << "text, lines, zones and panels";
    for (std::uint32_t ear : {leftColour, rightColour})
        EXPECT_GT(count(rowsOf(image.get(), ear)), 500) << std::hex << ear;
    EXPECT_EQ(count(rowsOf(image.get(), plannedColour, 30)), 0) << "nothing planned, nothing drawn";
}

TEST_F(AnalysisPlotTest, TheBeatLineClimbsInEqualStepsFromLeftToRight) {
    Pixels image = plot({"climb.wav", {}});
    // Rows where the line runs (its legend swatch is far shorter), gathered into levels.
    std::vector<std::pair<double, int>> levels; // mean row, number of rows
    int previous = -10;
    for (const auto& [y, count] : rowsOf(image.get(), beatColour)) {
        if (count < 100) continue;
        if (y - previous > 1) levels.push_back({0.0, 0});
        levels.back().first += y;
        ++levels.back().second;
        previous = y;
    }
    ASSERT_EQ(levels.size(), 3u);
    std::vector<double> rows;
    for (const auto& [sum, count] : levels) rows.push_back(sum / count);
    // Top down: 12, 8, 4 Hz on a linear scale.
    EXPECT_NEAR(rows[1] - rows[0], rows[2] - rows[1], 1.5);
    EXPECT_GT(rows[1] - rows[0], 20.0);
    std::vector<double> middles;
    for (double row : rows) {
        double sum = 0.0;
        int count = 0;
        for (int x = 0; x < plotWidth; ++x) {
            if (near(pixel(image.get(), x, static_cast<int>(std::lround(row))), beatColour, 2)) {
                sum += x;
                ++count;
            }
        }
        middles.push_back(sum / count);
    }
    EXPECT_GT(middles[0], middles[1]) << "12 Hz is the last window";
    EXPECT_GT(middles[1], middles[2]);
}

TEST_F(AnalysisPlotTest, APlannedBeatIsDrawnBesideTheMeasuredOne) {
    Pixels image = plot({"climb.wav", {{0.0, 4.0}, {12.0, 12.0}}});
    // A sloping dashed line: its pixels are blended at the edges.
    EXPECT_GT(count(rowsOf(image.get(), plannedColour, 30)), 300);
}

TEST_F(AnalysisPlotTest, AnUnwritablePlaceFailsAndLeavesNothing) {
    std::string error;
    const fs::path path = folder / "missing" / "plot.png";
    EXPECT_FALSE(writeAnalysisPlot(climbingBeat(), {}, path.string(), error));
    EXPECT_NE(error.find(path.string()), std::string::npos) << error;
    EXPECT_TRUE(fs::is_empty(folder));
}

TEST_F(AnalysisPlotTest, AWriteThatFailsSaysWhyAndLeavesNothing) {
    // Files may grow to 1 KiB only, so the picture's writes fail as on a full disk.
    rlimit original{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &original), 0);
    rlimit small = original;
    small.rlim_cur = 1024;
    void (*previous)(int) = std::signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    std::string error;
    const bool written =
        writeAnalysisPlot(climbingBeat(), {}, (folder / "plot.png").string(), error);
    setrlimit(RLIMIT_FSIZE, &original);
    std::signal(SIGXFSZ, previous);
    EXPECT_FALSE(written);
    EXPECT_NE(error.find(": File too large"), std::string::npos) << error;
    EXPECT_TRUE(fs::is_empty(folder));
}

} // namespace
} // namespace serivane::tools
