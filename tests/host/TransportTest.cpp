#include "host/Transport.h"

#include <gtest/gtest.h>

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

} // namespace
} // namespace serivane::host
