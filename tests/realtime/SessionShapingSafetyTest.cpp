#include "AudioThreadWatch.h"

#include "tools/session/SessionShaping.h"

#include <gtest/gtest.h>

#include <vector>

using serivane::tools::AmbientMix;
using serivane::tools::SessionFades;
using serivane::tools::SessionShaping;
using serivane::tools::SoundBuffer;

// Once built, the session stage neither allocates, frees nor locks while it processes: through
// fades, loop seams and a stop, at any recording rate, with both sample sizes.
TEST(RealtimeSafety, TheSessionStageAllocatesAndLocksNothingWhileItProcesses) {
    WatchCounts counts;
    for (int rate : {8000, 44100, 48000, 192000}) {
        for (int channels : {1, 2}) {
            SoundBuffer recording{
                rate, channels,
                std::vector<float>(static_cast<std::size_t>(rate / 4 * channels), 0.25f)};
            SessionShaping shaping(SessionFades(4800, 4800, 48000 * 2),
                                   AmbientMix(recording, 48000, -12.0));
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
