// What the live line of `play` is made of: the recent sound, the carrier found in it, the text.
#include "tools/report/LiveLine.h"
#include "tools/report/BeatSetting.h"
#include "tools/sound/CarrierMeter.h"
#include "tools/sound/SoundRing.h"

#include <cmath>
#include <gtest/gtest.h>
#include <numbers>
#include <sstream>

namespace serivane::tools {
namespace {

TEST(SoundRing, GivesTheLatestFramesOnceEnoughWereWritten) {
    SoundRing ring(64, 8);
    std::vector<float> left, right;
    for (int i = 0; i < 20; ++i) ring.put(float(i), float(-i));
    EXPECT_FALSE(ring.latest(32, left, right)) << "not yet published";
    ring.publish();
    EXPECT_FALSE(ring.latest(32, left, right)) << "fewer written";
    EXPECT_FALSE(ring.latest(60, left, right)) << "more than the ring keeps safely";
    for (int i = 20; i < 150; ++i) ring.put(float(i), float(-i));
    ring.publish();
    ASSERT_TRUE(ring.latest(32, left, right));
    EXPECT_EQ(left.front(), 118.0f);
    EXPECT_EQ(left.back(), 149.0f);
    EXPECT_EQ(right.back(), -149.0f);
}

std::vector<float> tone(double hertz, std::size_t frames, double rate, double level = 0.3) {
    std::vector<float> samples(frames);
    for (std::size_t i = 0; i < frames; ++i)
        samples[i] = float(level * std::sin(2 * std::numbers::pi * hertz * i / rate));
    return samples;
}

TEST(CarrierMeter, FindsTheStrongestToneMidwayBetweenTheEars) {
    CarrierMeter meter(48000.0);
    std::size_t n = meter.windowFrames();
    std::vector<float> left = tone(396.085, n, 48000.0), right = tone(403.915, n, 48000.0);
    std::vector<float> weak = tone(1200.0, n, 48000.0, 0.05);
    for (std::size_t i = 0; i < n; ++i) left[i] += weak[i], right[i] += weak[i];
    std::optional<double> carrier = meter.measure(left, right, 7.83);
    ASSERT_TRUE(carrier);
    EXPECT_NEAR(*carrier, 400.0, 0.1);

    // A 40 Hz beat puts the ears' tones several bins apart.
    carrier = meter.measure(tone(180.0, n, 48000.0), tone(220.0, n, 48000.0), 40.0);
    ASSERT_TRUE(carrier);
    EXPECT_NEAR(*carrier, 200.0, 0.1);

    std::vector<float> silence(n, 0.0f);
    EXPECT_FALSE(meter.measure(silence, silence, 7.83));
    EXPECT_FALSE(meter.measure(std::vector<float>(100), std::vector<float>(100), 7.83));
}

TEST(LiveLine, ShowsTimePresetBeatCarrierAndPeak) {
    LiveStatus status{72.34, 600.0, "Psychic - Schumann Resonance (7.83)", 7.83, "right", 412.26,
                      0.5,   ""};
    EXPECT_EQ(liveLineText(status), "1:12.3 / 10:00.0  Psychic - Schumann Resonance (7.83)  "
                                    "beat 7.83 Hz theta  carrier 412.3 Hz  peak -6.0 dBFS");
    status = {0.05, 0.0, std::string(50, 'x'), std::nullopt, "", std::nullopt, 0.0, ""};
    EXPECT_EQ(liveLineText(status),
              "0:00.0  " + std::string(37, 'x') + "...  no beat  carrier -  peak -inf dBFS");
    status = {1.0, 0.0, "p", 40.0, "left", 200.0, 1.0, ""};
    EXPECT_EQ(liveLineText(status),
              "0:01.0  p  beat 40.00 Hz gamma (left higher)  carrier 200.0 Hz  peak 0.0 dBFS");

    status = {90.0,    1800.0,       "p", 6.0,
              "right", std::nullopt, 0.0, "step 2/5 \"theta\"  next: Binaural → 4 Hz in 2:10"};
    EXPECT_EQ(liveLineText(status), "1:30.0 / 30:00.0  step 2/5 \"theta\"  next: Binaural → 4 Hz "
                                    "in 2:10  beat 6.00 Hz theta  carrier -  peak -inf dBFS");

    std::ostringstream terminal, narrow, file;
    LiveLine shown(terminal, true), cut(narrow, true, 4), hidden(file, false);
    for (LiveLine* line : {&shown, &cut, &hidden}) {
        line->show("a");
        line->show("bcdef");
        line->finish();
    }
    EXPECT_EQ(terminal.str(), "\ra\033[K\rbcdef\033[K\r\033[K");
    EXPECT_EQ(narrow.str(), "\ra\033[K\rbcd\033[K\r\033[K") << "never wraps";
    EXPECT_EQ(file.str(), "");

    std::ostringstream arrow;
    LiveLine characters(arrow, true, 5);
    characters.show("a→b→c→d");
    EXPECT_EQ(arrow.str(), "\ra→b→\033[K") << "cut between characters, not inside one";
}

TEST(LiveLine, BandNamesHaveTheirLowerBoundsInside) {
    EXPECT_EQ(bandName(0.3), "epsilon");
    EXPECT_EQ(bandName(0.5), "delta");
    EXPECT_EQ(bandName(4.0), "theta");
    EXPECT_EQ(bandName(7.83), "theta");
    EXPECT_EQ(bandName(13.99), "alpha");
    EXPECT_EQ(bandName(14.0), "beta");
    EXPECT_EQ(bandName(40.0), "gamma");
    EXPECT_EQ(bandName(100.0), "lambda");
}

} // namespace
} // namespace serivane::tools
