#include "BundleSession.h"

#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>

namespace serivane::integration {
namespace {

constexpr double rate = 48000.0;

// Mean frequency from the upward zero crossings after `fromSecond`, located between samples by
// linear interpolation.
double frequencyOf(const std::vector<double>& x, double fromSecond) {
    double first = -1.0, last = -1.0;
    int cycles = -1;
    for (auto i = static_cast<std::size_t>(fromSecond * rate); i + 1 < x.size(); ++i) {
        if (x[i] < 0.0 && x[i + 1] >= 0.0) {
            last = static_cast<double>(i) + x[i] / (x[i] - x[i + 1]);
            if (first < 0.0) first = last;
            ++cycles;
        }
    }
    return cycles > 0 ? cycles * rate / (last - first) : 0.0;
}

double peakOf(const std::vector<double>& x, double fromSecond = 0.0) {
    double peak = 0.0;
    for (auto i = static_cast<std::size_t>(fromSecond * rate); i < x.size(); ++i)
        peak = std::max(peak, std::abs(x[i]));
    return peak;
}

// One steady sine tone per ear: low and high frequency equal, linear volume envelope, slowest
// rate, so that each ear's frequency can be read from its zero crossings.
std::vector<tools::ParameterSetting> steadyTone(const host::Plugin& plugin, const char* binaural,
                                                const char* pan) {
    std::vector<tools::ParameterSetting> settings = {
        setting(plugin, "Tones", "1"),         setting(plugin, "Low Freq", "400"),
        setting(plugin, "High Freq", "400"),   setting(plugin, "Rate", "180"),
        setting(plugin, "Binaural", binaural), setting(plugin, "Binaural Pan", pan)};
    for (const char* q : {"Qvol1", "Qvol2", "Qvol3", "Qvol4"})
        settings.push_back(setting(plugin, q, "0"));
    return settings;
}

TEST(Audio, TheEarsDifferByTheBinauralFrequency) {
    struct Case {
        const char* binaural;
        const char* pan;
        double rightMinusLeft;
    };
    for (const Case& c : {Case{"7.83", "Right", 7.83}, Case{"40", "Left", -40.0}}) {
        auto plugin = instantiate();
        ASSERT_NE(plugin, nullptr);
        Stereo out = render(*plugin, {steadyTone(*plugin, c.binaural, c.pan), 4.0});
        double left = frequencyOf(out.left, 1.0);
        double right = frequencyOf(out.right, 1.0);
        EXPECT_NEAR(right - left, c.rightMinusLeft, 0.05) << c.pan;
        EXPECT_NEAR((left + right) / 2, 400.0, 0.05) << "the carrier sits between the ears";
    }
}

// Each ear reads the volume envelope one step apart, so the levels may differ in the last
// digits; frequencies and waveforms are the same.
TEST(Audio, NullPanGivesBothEarsTheSameSignal) {
    auto plugin = instantiate();
    ASSERT_NE(plugin, nullptr);
    Stereo out = render(*plugin, {steadyTone(*plugin, "11", "Null"), 3.0});
    double difference = 0.0;
    for (std::size_t i = 0; i < out.left.size(); ++i)
        difference = std::max(difference, std::abs(out.left[i] - out.right[i]));
    EXPECT_GT(peakOf(out.left, 1.0), 0.0);
    EXPECT_LE(difference, 1e-4 * peakOf(out.left));
    EXPECT_NEAR(frequencyOf(out.left, 1.0), 400.0, 1e-3);
    EXPECT_NEAR(frequencyOf(out.right, 1.0), 400.0, 1e-3);
}

TEST(Audio, AStoppedTransportIsSilentUnlessPlayAnywayIsOn) {
    for (bool doublePrecision : {false, true}) {
        auto plugin = instantiate();
        ASSERT_NE(plugin, nullptr);
        Stereo quiet = render(*plugin, {{}, 1.0, false, doublePrecision});
        for (std::size_t i = 0; i < quiet.left.size(); ++i) {
            ASSERT_EQ(quiet.left[i], 0.0) << i;
            ASSERT_EQ(quiet.right[i], 0.0) << i;
        }
        Stereo anyway = render(
            *plugin, {{setting(*plugin, "Play Anyway", "Yes")}, 1.0, false, doublePrecision});
        EXPECT_GT(peakOf(anyway.left, 0.5), 1e-3);
        EXPECT_GT(peakOf(anyway.right, 0.5), 1e-3);
    }
}

// Level in 10 ms windows over one second, from `fromSecond` on.
std::vector<double> levelCurve(const std::vector<double>& x, double fromSecond) {
    std::vector<double> curve;
    const auto window = static_cast<std::size_t>(rate / 100);
    for (auto i = static_cast<std::size_t>(fromSecond * rate); curve.size() < 100; i += window)
        curve.push_back(peakOf(std::vector<double>(x.begin() + i, x.begin() + i + window)));
    return curve;
}

TEST(Audio, AutomatingAVolumeCurvatureReshapesTheLevelCurve) {
    auto curveWith = [](const char* qvol2) {
        auto plugin = instantiate();
        auto settings = steadyTone(*plugin, "10", "Null");
        settings.push_back(setting(*plugin, "Rate", "1"));
        settings.push_back(setting(*plugin, "Qvol2", qvol2));
        return levelCurve(render(*plugin, {settings, 2.5}).left, 1.0);
    };
    const std::vector<double> flat = curveWith("0");
    const std::vector<double> again = curveWith("0");
    const std::vector<double> bent = curveWith("90");
    double changed = 0.0;
    for (std::size_t i = 0; i < flat.size(); ++i) {
        EXPECT_NEAR(flat[i], again[i], 1e-9);
        changed = std::max(changed, std::abs(bent[i] - flat[i]));
    }
    EXPECT_GT(changed, 0.1 * *std::max_element(flat.begin(), flat.end()));
}

TEST(Audio, SinglePrecisionMatchesDoublePrecision) {
    auto single = instantiate();
    auto twice = instantiate();
    ASSERT_TRUE(single && twice);
    Stereo a = render(*single, {{}, 1.0, true, false});
    Stereo b = render(*twice, {{}, 1.0, true, true});
    ASSERT_EQ(a.left.size(), b.left.size());
    double difference = 0.0;
    for (std::size_t i = 0; i < a.left.size(); ++i)
        difference = std::max(
            {difference, std::abs(a.left[i] - b.left[i]), std::abs(a.right[i] - b.right[i])});
    EXPECT_GT(peakOf(b.left, 0.5), 1e-3);
    EXPECT_LT(difference, 1e-6);
}

TEST(Audio, ExtremeSettingsStayFiniteForEveryWave) {
    for (const char* wave : {"Sine", "Triangle", "Saw", "Golden Sine", "Gold. Sine Half",
                             "Gold. Triangle", "Gold. Square"}) {
        auto plugin = instantiate();
        ASSERT_NE(plugin, nullptr);
        RenderRequest request{{setting(*plugin, "Wave", wave), setting(*plugin, "Tones", "16"),
                               setting(*plugin, "Binaural", "2000"),
                               setting(*plugin, "Low Freq", "10000"),
                               setting(*plugin, "High Freq", "5"), setting(*plugin, "Rate", "0.1"),
                               setting(*plugin, "Spread", "100"), setting(*plugin, "Volume", "100"),
                               setting(*plugin, "Qfreq", "-90"), setting(*plugin, "Qvol1", "90")},
                              0.5};
        request.doublePrecision = true;
        request.sampleRate = 44100.0;
        request.block = 37;
        Stereo out = render(*plugin, request);
        for (std::size_t i = 0; i < out.left.size(); ++i) {
            ASSERT_TRUE(std::isfinite(out.left[i]) && std::isfinite(out.right[i]))
                << wave << " at " << i;
        }
        EXPECT_GT(peakOf(out.left), 0.0) << wave;
        EXPECT_LE(peakOf(out.left), 2.0) << wave;
    }
}

} // namespace
} // namespace serivane::integration
