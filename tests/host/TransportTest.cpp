#include "host/Transport.h"

#include <gtest/gtest.h>

#include <cmath>

namespace serivane::host {
namespace {

using Context = Steinberg::Vst::ProcessContext;

TEST(Transport, OnlyAPlayingTransportMovesTheProjectPosition) {
    Transport transport(48000.0);
    transport.advance(512);
    EXPECT_EQ(transport.context().projectTimeSamples, 0);
    EXPECT_EQ(transport.context().continousTimeSamples, 512);
    EXPECT_EQ(transport.context().state & Context::kPlaying, 0u);

    transport.setPlaying(true);
    EXPECT_NE(transport.context().state & Context::kPlaying, 0u);
    transport.advance(512);
    transport.advance(100);
    EXPECT_EQ(transport.context().projectTimeSamples, 612);
    EXPECT_EQ(transport.context().continousTimeSamples, 1124);

    transport.setPlaying(false);
    EXPECT_EQ(transport.context().state & Context::kPlaying, 0u);
    EXPECT_NE(transport.context().state & Context::kTempoValid, 0u) << "other flags stay";
}

TEST(Transport, MusicalPositionFollowsTempoAndTimeSignature) {
    Transport transport(48000.0);
    transport.setPlaying(true);
    transport.setTempo(120.0);
    transport.advance(48000 * 5 / 2); // 2.5 s at 2 beats per second
    EXPECT_DOUBLE_EQ(transport.context().projectTimeMusic, 5.0);
    EXPECT_DOUBLE_EQ(transport.context().barPositionMusic, 4.0);

    transport.setTimeSignature(3, 4);
    EXPECT_DOUBLE_EQ(transport.context().barPositionMusic, 3.0);
    transport.setTimeSignature(6, 8);
    EXPECT_DOUBLE_EQ(transport.context().barPositionMusic, 3.0);

    transport.setTempo(60.0);
    EXPECT_DOUBLE_EQ(transport.context().projectTimeMusic, 2.5);
    transport.locate(0);
    EXPECT_DOUBLE_EQ(transport.context().projectTimeMusic, 0.0);
}

// The bar start is kept between blocks; every block must still carry exactly what dividing the
// position afresh gives: on bar lines, where a bar's length in quarters is inexact (7/3 at one
// quarter per sample puts sample 140 in bar 14 though 15 bars round to 140.0), across tempo and
// metre changes and after jumps back.
TEST(Transport, BarPositionMatchesAFreshDivisionInEveryBlock) {
    struct Step {
        double rate, tempo;
        Steinberg::int32 numerator, denominator;
        Steinberg::int64 from;
        Steinberg::int32 block;
    };
    const Step steps[] = {{1.0, 60.0, 7, 3, 0, 1},
                          {44100.0, 120.0, 4, 4, 0, 32},
                          {44100.0, 137.3, 7, 8, 95000, 37},
                          {44100.0, 99.99, 5, 16, 3, 441},
                          {48000.0, 120.0, 3, 4, 1'000'000, 1},
                          {48000.0, 61.7, 13, 8, 200'000, 64}};
    for (const Step& step : steps) {
        Transport transport(step.rate);
        transport.setPlaying(true);
        transport.locate(step.from + 5000);
        transport.setTempo(step.tempo);
        transport.setTimeSignature(step.numerator, step.denominator);
        transport.locate(step.from);
        for (int i = 0; i < 20000; ++i) {
            if (i == 10000) transport.setTempo(step.tempo * 1.5);
            const Context& c = transport.context();
            const double quarters =
                static_cast<double>(c.projectTimeSamples) / step.rate * c.tempo / 60.0;
            const double perBar = 4.0 * step.numerator / step.denominator;
            ASSERT_EQ(c.projectTimeMusic, quarters);
            ASSERT_EQ(c.barPositionMusic, std::floor(quarters / perBar) * perBar)
                << "at sample " << c.projectTimeSamples << " tempo " << c.tempo;
            transport.advance(step.block);
        }
    }
}

} // namespace
} // namespace serivane::host
