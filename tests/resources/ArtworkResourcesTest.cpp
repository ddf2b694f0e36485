#include "engine/ParamIds.h"
#include "engine/SegmentEnvelope.h"
#include "engine/Waveforms.h"
#include "gui/IBitmapCache.h"
#include "gui/IResourceBitmap.h"
#include "resources/CursorHotspots.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <vector>

namespace {

struct Expected {
    std::int32_t id;
    int width;
    int height;
    int frames;
};

// Every picture the editor loads, with the size and frame count its layout is built on.
constexpr Expected kPictures[] = {
    {100, 600, 475, 1}, {101, 32, 41, 1},  {102, 57, 32, 2}, {103, 184, 92, 1},
    {104, 128, 64, 1},  {105, 96, 48, 1},  {106, 27, 27, 1}, {107, 16, 16, 1},
    {108, 16, 16, 1},   {109, 54, 245, 7}, {98, 32, 32, 1},  {99, 32, 32, 1},
};

raster::Raster& Cached(std::int32_t id) {
    IBitmapCache& cache = IBitmapCache::Instance();
    raster::Raster* raster = cache.Find(id);
    if (raster == nullptr) raster = cache.Add(LoadResourceBitmap(id), id);
    EXPECT_NE(raster, nullptr) << "resource " << id;
    static raster::Raster empty;
    return raster != nullptr ? *raster : empty;
}

int Alpha(const raster::Raster& r, int x, int y) {
    return static_cast<int>(r.PixelAt(x, y) >> 24);
}

int Brightness(const raster::Raster& r, int x, int y) {
    const std::uint32_t p = r.PixelAt(x, y);
    return static_cast<int>(((p >> 16) & 0xFF) + ((p >> 8) & 0xFF) + (p & 0xFF)) / 3;
}

// True when frame a and frame b of a vertical strip differ in some pixel.
bool FramesDiffer(const raster::Raster& r, int frameHeight, int a, int b) {
    for (int y = 0; y < frameHeight; ++y) {
        for (int x = 0; x < r.Width(); ++x) {
            if (r.PixelAt(x, a * frameHeight + y) != r.PixelAt(x, b * frameHeight + y)) return true;
        }
    }
    return false;
}

// Where a drawn line runs: for each column of the area, the mean row of its bright pixels
// (NaN where there are none).
struct Trace {
    int left;
    int top;
    int bottom;
    std::vector<double> rows;

    // The first and last columns the line reaches, and its highest and lowest rows.
    int First() const { return Find(true); }
    int Last() const { return Find(false); }
    double Highest() const { return Extreme(true); }
    double Lowest() const { return Extreme(false); }
    // The line's height at column x as 0 (its lowest row) to 1 (its highest).
    double Level(int x) const { return (Lowest() - rows[x - left]) / (Lowest() - Highest()); }

private:
    int Find(bool first) const {
        const int n = static_cast<int>(rows.size());
        for (int i = 0; i < n; ++i) {
            const int c = first ? i : n - 1 - i;
            if (!std::isnan(rows[c])) return left + c;
        }
        return -1;
    }
    double Extreme(bool high) const {
        double best = high ? 1e9 : -1e9;
        for (const double r : rows) {
            if (!std::isnan(r)) best = high ? std::min(best, r) : std::max(best, r);
        }
        return best;
    }
};

Trace TraceLine(const raster::Raster& r, int left, int top, int right, int bottom, int threshold) {
    Trace t{left, top, bottom, {}};
    for (int x = left; x < right; ++x) {
        double sum = 0.0;
        int count = 0;
        for (int y = top; y < bottom; ++y) {
            if (Brightness(r, x, y) > threshold) {
                sum += y;
                ++count;
            }
        }
        t.rows.push_back(count > 0 ? sum / count : std::nan(""));
    }
    return t;
}

TEST(ArtworkResources, EveryPictureDecodesThroughTheCacheAtItsSizeAndFrameLayout) {
    for (const Expected& e : kPictures) {
        SCOPED_TRACE(e.id);
        raster::Raster& r = Cached(e.id);
        EXPECT_EQ(&r, IBitmapCache::Instance().Find(e.id));
        EXPECT_EQ(r.Width(), e.width);
        EXPECT_EQ(r.Height(), e.height);
        EXPECT_EQ(r.Height() % e.frames, 0);
    }
}

TEST(ArtworkResources, BackgroundCoversTheWholeEditor) {
    const raster::Raster& bg = Cached(100);
    for (int y = 0; y < bg.Height(); ++y) {
        for (int x = 0; x < bg.Width(); ++x) ASSERT_EQ(Alpha(bg, x, y), 255) << x << "," << y;
    }
}

TEST(ArtworkResources, KnobCapsTurnCleanlyWithTheirPointerUp) {
    for (const std::int32_t id : {103, 104, 105}) {
        SCOPED_TRACE(id);
        const raster::Raster& knob = Cached(id);
        const int size = knob.Height();
        // Both halves are round: their corners stay clear, so no square shows when turned.
        for (const int left : {0, size}) {
            EXPECT_EQ(Alpha(knob, left, 0), 0);
            EXPECT_EQ(Alpha(knob, left + size - 1, size - 1), 0);
        }
        // The cap is opaque where it covers the body, and its pointer is the brightest mark,
        // straight up at the middle value.
        EXPECT_EQ(Alpha(knob, size / 2, size * 3 / 4), 255);
        const int pointer = Brightness(knob, size / 2, size / 4);
        EXPECT_GT(pointer, 200);
        EXPECT_GT(pointer, Brightness(knob, size / 4, size / 2) + 100);
        EXPECT_GT(pointer, Brightness(knob, size / 2, size * 3 / 4) + 100);
    }
}

TEST(ArtworkResources, StripFramesShowDifferentStates) {
    const raster::Raster& waves = Cached(109);
    for (int frame = 0; frame + 1 < 7; ++frame) {
        EXPECT_TRUE(FramesDiffer(waves, 35, frame, frame + 1)) << frame;
    }
    EXPECT_TRUE(FramesDiffer(Cached(102), 16, 0, 1));
}

// The frames follow the "Wave" entries: frame k traces one period of wave k, closer to it than
// to any other wave.
TEST(ArtworkResources, WaveFramesTraceTheEnginesWavesInEntryOrder) {
    const raster::Raster& waves = Cached(109);
    constexpr int kFrames = 7;
    constexpr int kHeight = 35;
    auto distance = [](const Trace& t, int entry) {
        OscillatorBank bank;
        SetWave(bank, kWave, entry);
        double sum = 0.0;
        int count = 0;
        for (int x = t.First(); x <= t.Last(); ++x) {
            const double phase = 2.0 * kPi * (x - t.First()) / (t.Last() - t.First() + 1.0);
            const double expected = (bank.waveFunction(bank, phase) + 1.0) * 0.5;
            sum += std::abs(t.Level(x) - expected);
            ++count;
        }
        return sum / count;
    };
    for (int frame = 0; frame < kFrames; ++frame) {
        SCOPED_TRACE(frame);
        const Trace t =
            TraceLine(waves, 0, frame * kHeight, waves.Width(), (frame + 1) * kHeight, 128);
        ASSERT_GT(t.Last() - t.First(), waves.Width() / 2);
        const double own = distance(t, frame);
        EXPECT_LT(own, 0.08);
        for (int other = 0; other < kFrames; ++other) {
            if (other != frame) {
                EXPECT_LT(own, distance(t, other)) << "wave " << other;
            }
        }
    }
}

// The background's preset buttons, where the editor lays its hover mark over them, show the
// curve each sets: curvatures -6 to 6 bending from fast to slow rises on the frequency graph,
// wider holds from inner points (0.35, 0.65) to (0.15, 0.85) on the volume graph.
TEST(ArtworkResources, PresetButtonsShowTheCurvesTheySet) {
    const raster::Raster& bg = Cached(100);
    constexpr int kFreqRight = 299;
    constexpr int kVolumeRight = 589;
    constexpr int kGraphTop = 294;
    auto icon = [&](int right, int b) {
        const int left = right - 27 + 4;
        const int top = kGraphTop + 30 * b + 4;
        return TraceLine(bg, left, top, left + 19, top + 19, 150);
    };
    const float curvatures[] = {-6.0f, -3.0f, 0.0f, 3.0f, 6.0f};
    double previous = 2.0;
    for (int b = 0; b < 5; ++b) {
        SCOPED_TRACE(b);
        const Trace t = icon(kFreqRight, b);
        SegmentEnvelope env;
        env.Init(true);
        env.curvatures[0] = curvatures[b];
        env.Prepare(400.0f);
        env.Seek(0.5);
        const double middle = t.Level((t.First() + t.Last()) / 2);
        EXPECT_NEAR(middle, env.value, 0.12);
        EXPECT_LT(middle, previous);
        previous = middle;
    }
    const double outer[] = {0.35, 0.3, 0.25, 0.2, 0.15};
    for (int b = 0; b < 5; ++b) {
        SCOPED_TRACE(b);
        const Trace t = icon(kVolumeRight, b);
        // The volume is at half height exactly at the first and the last inner point.
        int first = -1;
        int last = -1;
        for (int x = t.First(); x <= t.Last(); ++x) {
            if (t.Level(x) >= 0.5) {
                if (first < 0) first = x;
                last = x;
            }
        }
        const double width = t.Last() - t.First();
        EXPECT_NEAR((last - first) / width, 1.0 - 2.0 * outer[b], 0.1);
    }
}

// The status line, band label and version text draw over plain ground.
TEST(ArtworkResources, TextAreasStayCalm) {
    const raster::Raster& bg = Cached(100);
    struct Area {
        int left, top, right, bottom;
    };
    for (const Area& a : {Area{200, 58, 400, 76}, Area{204, 172, 268, 190}, Area{50, 12, 95, 30}}) {
        SCOPED_TRACE(a.left);
        int lowest = 255;
        int highest = 0;
        for (int y = a.top; y < a.bottom; ++y) {
            for (int x = a.left; x < a.right; ++x) {
                lowest = std::min(lowest, Brightness(bg, x, y));
                highest = std::max(highest, Brightness(bg, x, y));
            }
        }
        EXPECT_LE(highest - lowest, 10);
    }
}

TEST(ArtworkResources, CursorHotspotsSitOnTheDrawnPointer) {
    for (const CursorHotspot& h : kCursorHotspots) {
        SCOPED_TRACE(h.id);
        const raster::Raster& cursor = Cached(h.id);
        ASSERT_EQ(cursor.Width(), kCursorSize);
        EXPECT_GT(Alpha(cursor, h.x, h.y), 128);
        EXPECT_EQ(FindCursorHotspot(h.id), &h);
    }
    EXPECT_EQ(FindCursorHotspot(100), nullptr);
}

} // namespace
