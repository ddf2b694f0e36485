#include "AudioThreadWatch.h"

#include "tools/session/SessionShaping.h"

#include <gtest/gtest.h>

#include <vector>

using serivane::tools::AmbientMix;
using serivane::tools::LevelCurve;
using serivane::tools::NoiseBed;
using serivane::tools::SessionFades;
using serivane::tools::SessionShaping;
using serivane::tools::SoundBuffer;
using serivane::tools::ValueCurve;

// Once built, the session stage neither allocates, frees nor locks while it processes: through
// fades, loop seams, a stop and the glides of its levels and noise colours, at any recording rate,
// with both sample sizes.
TEST(RealtimeSafety, TheSessionStageAllocatesAndLocksNothingWhileItProcesses) {
    WatchCounts counts;
    for (int rate : {8000, 44100, 48000, 192000}) {
        for (int channels : {1, 2}) {
            SoundBuffer recording{
                rate, channels,
                std::vector<float>(static_cast<std::size_t>(rate / 4 * channels), 0.25f)};
            SessionShaping shaping(
                SessionFades(4800, 4800, 48000 * 2),
                AmbientMix(recording, 48000, LevelCurve(-12.0, {{9000, 30000, -20.0}})),
                NoiseBed(5, 48000, LevelCurve(-20.0, {{0, 40000, -30.0}, {50000, 50000, -25.0}}),
                         {ValueCurve(1.0, {{20000, 60000, 0.0}}), ValueCurve(0.0),
                          ValueCurve(0.0, {{20000, 60000, 1.0}})},
                         {true, true, true}));
            std::vector<float> left(4096), right(4096);
            std::vector<double> wideLeft(4096), wideRight(4096);
            float* single[] = {left.data(), right.data()};
            double* wide[] = {wideLeft.data(), wideRight.data()};
            AudioThreadWatch watch(counts, nullptr);
            for (int block = 0; block < 24; ++block) {
                if (block % 2 == 0)
                    shaping.process(single, 2, 4096);
                else
                    shaping.process(wide, 2, 4096);
                if (block == 20) shaping.stop(1000);
            }
        }
    }
    EXPECT_EQ(counts.allocations, 0);
    EXPECT_EQ(counts.frees, 0);
    EXPECT_EQ(counts.foreignLocks, 0);
}
