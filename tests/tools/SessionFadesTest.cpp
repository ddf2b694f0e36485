#include "tools/session/SessionFades.h"
#include "support/SignalMeasures.h"

#include <gtest/gtest.h>

namespace serivane::tools {
namespace {

constexpr int rate = 48000;

// A tone that starts and ends away from zero, so that an unfaded end would click.
std::vector<float> tone(std::size_t frames) {
    return measure::tone(440.0, rate, static_cast<double>(frames) / rate, 0.8, 1, 1.0);
}

// A stereo tone through the fades in blocks of `block` frames.
std::vector<double> faded(SessionFades fades, std::size_t frames, int block) {
    std::vector<float> source = tone(frames);
    std::vector<double> left(source.begin(), source.end()), right = left;
    for (std::size_t done = 0; done < frames;) {
        int count = static_cast<int>(std::min<std::size_t>(block, frames - done));
        double* channels[] = {left.data() + done, right.data() + done};
        fades.apply(channels, 2, count);
        done += static_cast<std::size_t>(count);
    }
    EXPECT_EQ(left, right);
    return left;
}

TEST(SessionFades, FadesStartAndEndInSilenceWithoutAJumpAboveTheSignalsOwn) {
    const std::size_t total = 2 * rate;
    std::vector<float> source = tone(total);
    const double ownStep = measure::largestStep(source);
    for (int block : {1, 333, 4096}) {
        std::vector<double> out = faded(SessionFades(rate / 2, rate / 4, total), total, block);
        EXPECT_EQ(out.front(), 0.0) << "the first frame follows silence";
        EXPECT_EQ(out.back(), 0.0) << "the last frame leads into silence";
        EXPECT_LE(measure::largestStep(out), ownStep) << block;
        // Equal power: half-way through a fade sits at -3 dB.
        EXPECT_NEAR(out[rate / 4], source[rate / 4] * std::sqrt(0.5), 1e-6);
        EXPECT_DOUBLE_EQ(out[rate], static_cast<double>(source[rate])) << "untouched between";
    }
}

TEST(SessionFades, FadeLengthsAtTheirLimits) {
    const std::size_t total = rate;
    std::vector<float> source = tone(total);
    struct Case {
        std::int64_t in, out;
        bool fadesIn, fadesOut;
    };
    // Fades filling the whole session meet without a step; too long ones are cut to fit, the
    // fade-out first; none leave the signal as it is.
    for (const Case& c : {Case{rate / 2, rate / 2, true, true}, Case{rate, 0, true, false},
                          Case{0, rate, false, true}, Case{3 * rate, 5 * rate, false, true},
                          Case{0, 0, false, false}}) {
        std::vector<double> shaped = faded(SessionFades(c.in, c.out, total), total, 512);
        EXPECT_NEAR(shaped.front(), c.fadesIn ? 0.0 : source.front(), 1e-6) << c.in << " " << c.out;
        EXPECT_NEAR(shaped.back(), c.fadesOut ? 0.0 : source.back(), 1e-6) << c.in << " " << c.out;
        EXPECT_LE(measure::largestStep(shaped), measure::largestStep(source));
        if (!c.fadesIn && !c.fadesOut) {
            EXPECT_EQ(shaped, std::vector<double>(source.begin(), source.end()));
        }
    }
}

TEST(SessionFades, AStopFadesOutFromTheLevelNowSoundingAndThenStaysSilent) {
    SessionFades fades(rate, 0, SessionFades::openEnded);
    std::vector<float> source = tone(rate);
    std::vector<double> out(source.begin(), source.end());
    double* first[] = {out.data()};
    fades.apply(first, 1, rate / 4);
    fades.stop(rate / 10);
    EXPECT_FALSE(fades.finished());
    double* rest[] = {out.data() + rate / 4};
    fades.apply(rest, 1, rate - rate / 4);
    EXPECT_TRUE(fades.finished());
    EXPECT_LE(measure::largestStep(out), measure::largestStep(source));
    for (std::size_t f = rate / 4 + rate / 10; f < out.size(); ++f) ASSERT_EQ(out[f], 0.0) << f;
    // A later, longer stop does not lift the level again.
    fades.stop(rate);
    EXPECT_TRUE(fades.finished());
}

} // namespace
} // namespace serivane::tools
