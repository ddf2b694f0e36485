#include "Pixels.h"

#include "raster/Blit.h"
#include "raster/Font.h"
#include "raster/Shapes.h"

#include <gtest/gtest.h>

#include <thread>
#include <vector>

using namespace raster;

namespace {

// One editor's drawing: a shared bitmap and a shared font into the editor's own raster.
void DrawEditor(Raster& target, const Raster& bitmap, const Font& font, int round) {
    target.Clear(PackArgb(255, 20, 30, 40));
    Blit(target, 5, 5, bitmap, 0, 0, bitmap.Width(), bitmap.Height());
    BlitRotated(target, {40, 10, 32, 32}, bitmap, {0, 0, 32, 32}, 0.1 * round,
                {BlendMode::Add, 0.5f});
    FillCircle(target, 90, 30, 6, PackArgb(255, 0, 230, 90), {BlendMode::AlphaCopy, 0.6f});
    font.Draw(target, "Binaural: 7.83Hz", {0, 50, 120, 70}, PackArgb(160, 255, 255, 255),
              {TextAlign::Centre, false, true});
}

TEST(Threads, EditorsOnSeveralThreadsShareBitmapsAndFonts) {
    Raster bitmap(32, 32);
    bitmap.Clear(PackArgb(200, 180, 60, 90));
    FillCircle(bitmap, 16, 16, 10, PackArgb(255, 250, 250, 250));
    const auto font = Font::Create({"Arial", 14});
    ASSERT_TRUE(font);

    constexpr int kThreads = 4, kRounds = 20;
    std::vector<std::vector<std::uint32_t>> expected(kRounds);
    for (int round = 0; round < kRounds; ++round) {
        Raster reference(120, 72);
        DrawEditor(reference, bitmap, *font, round);
        expected[round].assign(reference.Pixels(), reference.Pixels() + 120 * 72);
    }

    std::vector<int> mismatches(kThreads, 0);
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([&, t] {
            Raster target(120, 72);
            for (int round = 0; round < kRounds; ++round) {
                DrawEditor(target, bitmap, *font, round);
                const std::uint32_t* pixels = target.Pixels();
                if (!std::equal(pixels, pixels + 120 * 72, expected[round].begin())) {
                    ++mismatches[t];
                }
            }
        });
    }
    for (std::thread& thread : threads) thread.join();
    for (int t = 0; t < kThreads; ++t) EXPECT_EQ(mismatches[t], 0) << "thread " << t;
}

} // namespace
